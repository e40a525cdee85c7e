#ifndef DIPPCLI_H
#define DIPPCLI_H

#include "names/namescsv.h"

#include <QCommandLineParser>
#include <QStringList>
#include <QTextStream>

// The command-line tool: converts addresses and renders the table without a window.
class DippCli
{
public:
    enum ExitCode { Success = 0, Failure = 1, UsageError = 2 };

    DippCli(QTextStream &out, QTextStream &err);

    // arguments include the program name, as QCoreApplication::arguments() gives them.
    int run(const QStringList &arguments);

private:
    int decode(const QStringList &texts);
    int encode(const QStringList &positions);
    int render();
    int check(const Names &names);
    int usageError(const QString &message);
    static void print(QTextStream &stream, const QString &line);

    QTextStream &out;
    QTextStream &err;
    QCommandLineParser parser;
    QCommandLineOption namesOption;
    QCommandLineOption checkOption;
    QCommandLineOption helpOption;
    QCommandLineOption outputOption;
};

#endif
