#include "mainwindow/appsetup.h"
#include "mainwindow/veskar.h"
#include "names/namesstore.h"

#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QComboBox>
#include <QScreen>
#include <QScrollArea>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace Qt::StringLiterals;

// The window and each dialog on the screen it opens on (scripts/check-screens sets the screen):
// every button, field and text inside the screen's free area, shown whole or scrolled to, none
// over another; a picture of each into the folder VESK_SCREEN_CHECK names.
class TestScreens : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        if (qEnvironmentVariableIsEmpty("VESK_SCREEN_CHECK"))
            QSKIP("Set VESK_SCREEN_CHECK to a folder for the pictures, as scripts/check-screens does.");
        qputenv(NamesStore::dataHomeVariable, home.filePath(u"data"_s).toUtf8());
        qputenv("XDG_CONFIG_HOME", home.filePath(u"config"_s).toUtf8());
        QVERIFY(QDir().mkpath(home.filePath(u"data/vesk-adressen"_s))
                && QFile::copy(VESK_SOURCE_DIR "/doc/beispiel-namen.csv", NamesStore::defaultPath()));
        AppSetup::apply();
        window = std::make_unique<VeskAr>();
        window->viewTable->setChecked(true);
        window->strEdit->setText(u"7C"_s);
        window->changeDipp();
        window->show();
        QTRY_COMPARE(window->adrTable->currentIndex().data().toString(), u"Weichenantrieb Bahnhof Nord 7"_s);
    }

    void fits_data()
    {
        QTest::addColumn<QString>("opens");
        QTest::newRow("window") << QString();
        QTest::newRow("labels") << u"labelsButton"_s;
        QTest::newRow("print") << u"printButton"_s;
    }

    void fits()
    {
        QFETCH(QString, opens);
        if (opens.isEmpty())
            return check(window.get());
        bool checked = false;
        QTimer poll;
        poll.callOnTimeout([&] {
            if (QWidget *dialog = QApplication::activeModalWidget()) {
                poll.stop();
                check(dialog);
                checked = dialog->close();
            }
        });
        poll.start(5);
        window->findChild<QAbstractButton *>(opens)->click(); // returns once the dialog is closed
        QVERIFY(checked);
    }

private:
    void check(QWidget *shown)
    {
        QVERIFY(QTest::qWaitForWindowExposed(shown));
        const QRect area = shown->screen()->availableGeometry();
        qInfo("%s: %d x %d in %d x %d", QTest::currentDataTag(), shown->width(), shown->height(), area.width(),
              area.height());
        QVERIFY(area.contains(shown->frameGeometry()));
        QList<QWidget *> items;
        for (QWidget *child : shown->findChildren<QWidget *>()) {
            const auto item = [](QObject *o) {
                return qobject_cast<QAbstractButton *>(o) || qobject_cast<QAbstractSpinBox *>(o)
                       || qobject_cast<QComboBox *>(o) || qobject_cast<QLineEdit *>(o) || qobject_cast<QLabel *>(o)
                       || qobject_cast<QAbstractItemView *>(o);
            };
            QObject *inside = child->parent();
            while (inside != shown && !item(inside))
                inside = inside->parent();
            if (item(child) && inside == shown && child->isVisible())
                items.append(child);
        }
        const auto rect = [shown](QWidget *w) { return QRect(w->mapTo(shown, QPoint()), w->size()); };
        for (QWidget *one : items) {
            // Squashed below its least size, a field draws over its neighbours.
            QVERIFY2(one->size().expandedTo(one->minimumSizeHint()) == one->size(),
                     qPrintable(one->objectName() + u" squashed"_s));
            for (QWidget *other : items)
                QVERIFY2(one == other || !rect(one).intersects(rect(other)),
                         qPrintable(one->objectName() + u" over "_s + other->objectName()));
        }
        QVERIFY(
            shown->grab().save(qEnvironmentVariable("VESK_SCREEN_CHECK") + u'/' + QTest::currentDataTag() + u".png"_s));
        // Each is reachable: in view, or scrolled to, whole and on the screen.
        for (QWidget *one : items) {
            for (QWidget *up = one->parentWidget(); up != shown; up = up->parentWidget()) {
                if (auto *scroll = qobject_cast<QScrollArea *>(up))
                    scroll->ensureWidgetVisible(one, 0, 0);
            }
            QRect seen = rect(one);
            for (QWidget *up = one->parentWidget(); up != shown; up = up->parentWidget())
                seen &= rect(up);
            QVERIFY2(seen == rect(one) && area.contains(seen.translated(shown->mapToGlobal(QPoint()))),
                     qPrintable(one->objectName()));
        }
    }

    QTemporaryDir home;
    std::unique_ptr<VeskAr> window;
};

QTEST_MAIN(TestScreens)
#include "tst_screens.moc"
