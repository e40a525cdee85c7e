#ifndef CLISESSION_H
#define CLISESSION_H

#include "store/storeerror.h"

#include <QCommandLineParser>
#include <QStringList>
#include <QTextStream>

#include <optional>

// What every command of vesk-dipp shares: the streams it writes to, the options as given, and
// the names it reads. Each of its reports tells the user in the tool's words.
class CliSession
{
public:
    enum ExitCode { Success = 0, Failure = 1, UsageError = 2 };

    CliSession(QTextStream &out, QTextStream &err);

    static QString programName() { return QStringLiteral("vesk-dipp"); }
    // Every option, in the order the help lists them.
    QList<const QCommandLineOption *> options() const;
    // The sizes of the labels, the default first.
    static QStringList formatNames();

    // A line on stdout, or as it stands on stderr.
    void print(const QString &line);
    void printError(const QString &line);
    // "error: " and the message on stderr; gives Failure.
    int fail(const QString &message);
    void warn(const QString &message);
    int usageError(const QString &message);
    int cannotWrite(const QString &path, const QString &reason);
    // The path written, unless what was written went to standard output itself.
    void printWritten(const QString &path);

    // Each tells the user why it failed, and gives nothing then.
    std::optional<QString> addressKey(const QString &address);
    // The names of the list given with --names, else those the window keeps.
    std::optional<Names> chosenNames();
    // Merged first with the conflict copies beside them, as a window merges them.
    std::optional<Names> readStored();
    // Merges the conflict copies beside the stored names, waiting for what waits as a window
    // would, and tells each damaged copy set aside.
    void mergeCopies();
    std::optional<Names> readList(const QString &file);
    static QString describe(const StoreError &error);

    QTextStream &out;
    QTextStream &err;
    QCommandLineParser parser;
    // A new option: a member here, its words in the constructor, its place in options(), and
    // in the table the commands that take it; the help names those commands itself.
    QCommandLineOption helpOption;
    QCommandLineOption versionOption;
    QCommandLineOption namesOption;
    QCommandLineOption outputOption;
    QCommandLineOption checkOption;
    QCommandLineOption printerOption;
    QCommandLineOption formatOption;
    QCommandLineOption formatsOption;
    QCommandLineOption startOption;
    QCommandLineOption offsetOption;
    QCommandLineOption outlinesOption;

private:
    static void printTo(QTextStream &stream, const QString &line);
    std::optional<Names> readNames(const Names &names, const StoreError &error, const QString &what,
                                   const QString &file);
};

#endif
