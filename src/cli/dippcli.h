#ifndef DIPPCLI_H
#define DIPPCLI_H

#include "address/addresscodec.h"
#include "document/nameschange.h"
#include "names/namescsv.h"
#include "page/pagedocument.h"

#include <QCommandLineParser>
#include <QStringList>
#include <QTextStream>

// The command-line tool: converts addresses, renders the table and keeps the names, without
// a window.
class DippCli
{
public:
    enum ExitCode { Success = 0, Failure = 1, UsageError = 2 };

    DippCli(QTextStream &out, QTextStream &err);

    // arguments include the program name, as QCoreApplication::arguments() gives them.
    int run(const QStringList &arguments);

private:
    int help();
    static QString settingLine(const DippSetting &dipp);
    int decode(const QStringList &texts);
    int encode(const QStringList &positions);
    int render();
    int labels(const QStringList &addresses);
    int listFormats(const QString &text);
    void printWritten(const QString &path);
    int produce(const PageDocument &document, const QString &defaultFile, const QString &space);
    void warnAbout(const RenderResult &result, const QString &space);
    int check(const TablePage::Fits &fits);
    std::optional<Names> chosenNames();
    std::optional<QString> optionNotFor(const QString &command) const;
    int names(const QStringList &words);
    int listNames();
    int setName(const QString &address, const QString &name);
    int importNames(const QString &file);
    int exportNames(const QString &file);
    int findNames(const QStringList &texts);
    int store(const NameEntries &entries);
    // Each tells the user why it failed, and gives nothing then.
    std::optional<Names> readStored();
    std::optional<Names> readList(const QString &file);
    std::optional<Names> readNames(const NamesCsv::ReadResult &read, const QString &what, const QString &file);
    static QString describe(const NamesCsv::Error &error);
    int usageError(const QString &message);
    static void print(QTextStream &stream, const QString &line);

    QTextStream &out;
    QTextStream &err;
    QCommandLineParser parser;
    QCommandLineOption namesOption;
    QCommandLineOption checkOption;
    QCommandLineOption helpOption;
    QCommandLineOption outputOption;
    QCommandLineOption printerOption;
    QCommandLineOption formatOption;
    QCommandLineOption formatsOption;
    QCommandLineOption startOption;
};

#endif
