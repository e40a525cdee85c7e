#ifndef WINDOWTEST_H
#define WINDOWTEST_H

#include "base/usersettings.h"
#include "mainwindow/appsetup.h"
#include "mainwindow/labelsdialog.h"
#include "mainwindow/namesfiles.h"
#include "mainwindow/veskar.h"
#include "page/tablepdf.h"
#include "panel/arlabel.h"
#include "store/namesstore.h"
#include "support/storetest.h"
#include "support/widgettest.h"

#include <QClipboard>
#include <QDesktopServices>
#include <QFileDialog>
#include <QPrintDialog>
#include <QPrinter>

using namespace WidgetTest;

// A window for each test, in folders of the test's own; the steps a user takes, and a dialog answered as one would.
class WindowTest : public QObject
{
    Q_OBJECT

public slots:
    void openUrl(const QUrl &url) { openedUrls.append(url); }

protected:
    void prepare()
    {
        // The names and the window's place are kept here, not in the user's folders.
        qputenv(NamesStore::dataHomeVariable, workFile(u"data"_s).toUtf8());
        qputenv("XDG_CONFIG_HOME", workFile(u"config"_s).toUtf8());
        QVERIFY(QDir::setCurrent(workDir.path()));
        QDesktopServices::setUrlHandler(u"file"_s, this, "openUrl");
        // As the program starts: Qt's own texts, and the system's reasons, German too.
        AppSetup::apply();
        QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"), u"Abbrechen"_s);
        QCOMPARE(QApplication::style()->name(), u"fusion"_s);
    }

    // Acts on the next dialog of the type, in any event loop, then closes it; cleanup() tells of one never shown.
    template<typename Dialog>
    void onDialog(const std::function<void(Dialog *)> &act)
    {
        auto *poll = new QTimer(&expected);
        connect(poll, &QTimer::timeout, poll, [poll, act] {
            auto *dialog = qobject_cast<Dialog *>(QApplication::activeModalWidget());
            if (dialog == nullptr)
                return;
            poll->stop();
            poll->setParent(nullptr);
            poll->deleteLater();
            act(dialog);
            if (dialog->isVisible())
                dialog->reject();
        });
        poll->start(5);
    }

    // Types each name in its row's editor and commits it with Return, which moves on as in a spreadsheet.
    void typeNames(const QList<QPair<int, QString>> &named, int next = -1)
    {
        for (const auto &[row, name] : named) {
            auto *editor = openEditor(row);
            QVERIFY(editor);
            editor->setText(name);
            QTest::keyClick(editor, Qt::Key_Return);
            QTRY_VERIFY(window->adrTable->viewport()->findChild<QLineEdit *>() == nullptr); // committed and closed
            QCOMPARE(namesAt({row}), QStringList{name});
            QCOMPARE(window->adrTable->currentRow(), next >= 0 ? next : std::min(row + 1, 95));
        }
    }

    // Opens a row's name for editing by F2, the window active as the user's and its table focused.
    QLineEdit *openEditor(int row)
    {
        focusTable();
        window->adrTable->setCurrentCell(row, 0);
        QTest::keyClick(window->adrTable, Qt::Key_F2);
        return window->adrTable->viewport()->findChild<QLineEdit *>();
    }

    // Types into a shown window's field in place of what it holds (pasted first), then presses Tab or the key given.
    static void typeInto(QWidget *field, const QString &text, const QString &paste = {},
                         QKeyCombination end = Qt::Key_Tab)
    {
        field->window()->show();
        field->window()->activateWindow(); // again, after a dialog of its own
        QVERIFY(QTest::qWaitForWindowActive(field->window()));
        field->setFocus(Qt::TabFocusReason);
        QTest::keySequence(field, QKeySequence::SelectAll); // also where it had the focus
        QGuiApplication::clipboard()->setText(paste);
        QTest::keyClick(field, Qt::Key_V, Qt::ControlModifier);
        for (const QChar typed : text) // keyClicks() takes Latin-1 only
            QTest::sendKeyEvent(QTest::Click, field, Qt::Key_unknown, typed, Qt::NoModifier);
        QTest::keyClick(field, end.key(), end.keyboardModifiers());
    }

    // Answers the print dialog that opens next: into the work folder's file as a PDF, never on a printer.
    void printInto(const QString &typed)
    {
        onDialog<QPrintDialog>([file = workFile(typed)](QPrintDialog *print) {
            print->printer()->setOutputFormat(QPrinter::PdfFormat);
            print->printer()->setOutputFileName(file);
            print->done(QDialog::Accepted);
        });
    }

    // Answers the file dialog that opens next with the name typed in the work folder; none cancels.
    void saveAs(const QString &typed)
    {
        onDialog<QFileDialog>([this, typed](QFileDialog *files) {
            files->setDirectory(workDir.path());
            files->selectFile(typed);
            if (!typed.isEmpty())
                static_cast<QDialog *>(files)->accept();
        });
    }

    QStringList namesAt(const QList<int> &rows) const
    {
        QStringList names;
        for (const int row : rows)
            names.append(window->adrTable->item(row, 0) ? window->adrTable->item(row, 0)->text() : u"-"_s);
        return names;
    }

    void focusTable()
    {
        window->viewTable->setChecked(true);
        window->activateWindow();
        window->adrTable->setFocus();
        QTRY_VERIFY(window->adrTable->hasFocus());
    }

    QString workFile(const QString &name) const { return QDir(workDir.path()).filePath(name); }

    QTemporaryDir workDir;
    MessageBoxCatcher catcher;
    QObject expected;
    std::unique_ptr<VeskAr> window;
    QList<QUrl> openedUrls;

private slots:
    void initTestCase() { prepare(); }

    void init()
    {
        window = std::make_unique<VeskAr>();
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        QVERIFY(window->adrTable->isHidden() && !window->viewTable->isChecked()); // as a first start lays it out
    }

    void cleanup()
    {
        // A test takes the messages it expects; any other is a surprise, told once the next test's ground is cleared.
        MessageBoxCatcher::settle();
        const QList<MessageBoxCatcher::Box> surprises = std::exchange(catcher.boxes, {});
        const QObjectList missed = expected.children();                     // dialogs that never came
        const bool kept = !window->findChildren<QMessageBox *>().isEmpty(); // reports are deleted once closed
        qDeleteAll(missed);
        window.reset();
        QFile::remove(workFile(TablePdf::fileName));
        QDir(workFile(u"data"_s)).removeRecursively();
        QDir(workFile(u"config"_s)).removeRecursively();
        userSettings().clear(); // on Windows the registry's, kept from run to run
        QVERIFY2(surprises.isEmpty() && missed.isEmpty() && !kept, qPrintable(surprises.value(0).text));
    }
};

#endif
