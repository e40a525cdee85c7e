#ifndef CLITEST_H
#define CLITEST_H

#include "support/coretest.h"

// Starts a command line, "vesk-dipp" or "vesk-adressen" first, where the window's names
// are kept, with no runtime folder (as in cron, ssh); NAME=VALUE words before set the environment.
inline void start(QProcess &process, QStringList words, const QString &folder)
{
    QStringList assignments;
    while (words.first().contains(u'='))
        assignments.append(words.takeFirst());
    const QString program = words.first() == u"vesk-adressen" ? QStringLiteral(VESK_ADRESSEN_PATH)
                            : words.first() == u"vesk-dipp"   ? QStringLiteral(VESK_DIPP_PATH)
                                                              : words.first();
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(u"XDG_RUNTIME_DIR"_s);
    if (words.first() != u"vesk-adressen") // nor a display: vesk-dipp chooses its platform itself
        environment.remove(u"QT_QPA_PLATFORM"_s);
    environment.insert(u"VESK_ADRESSEN_DATA_HOME"_s, folder);
    environment.insert(u"XDG_CONFIG_HOME"_s, folder + u"/config"_s); // printers' offsets
    environment.insert(u"CUPS_SERVER"_s, folder + u"/cups.sock"_s);  // none there: no printer of the user's asked
    for (const QString &assignment : std::as_const(assignments))
        environment.insert(assignment.section(u'=', 0, 0), assignment.section(u'=', 1));
    process.setProcessEnvironment(environment);
    process.setWorkingDirectory(folder);
    process.start(program, words.mid(1));
}

// Whether a process has ended, also where it ended before this was asked, which waitForFinished answers with false.
inline bool finished(QProcess &process)
{
    return process.state() == QProcess::NotRunning || process.waitForFinished(30000);
}

// A process that failed to start looks like one that ended well, printing nothing, so that is
// told. Wine may fail to start one on a loaded machine: it is started once more.
inline void run(QProcess &process, const QStringList &words, const QString &folder)
{
    for (int tries = 0; tries == 0 || (tries < 2 && process.error() == QProcess::FailedToStart); ++tries) {
        start(process, words, folder);
        QVERIFY(finished(process));
    }
    QVERIFY2(process.error() != QProcess::FailedToStart, qPrintable(process.errorString()));
    QCOMPARE(process.exitStatus(), QProcess::NormalExit);
}

// What a command printed, with Windows' line ends and path separators read as Linux's; the
// backslashes that begin an escape ("\u{1B}", "\\u{") stay.
inline QString printed(const QByteArray &output)
{
    QString text = QString::fromUtf8(output).replace(u"\r\n"_s, u"\n"_s);
    if (QDir::separator() == u'\\')
        text.replace(QRegularExpression(uR"(\\(?!\\*u\{))"_s), u"/"_s);
    return text;
}

#endif
