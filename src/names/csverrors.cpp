#include "names/namescsv.h"

#include "names/nameforms.h"
#include "names/namerules.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QStorageInfo>
#include <QTemporaryFile>

#include <cerrno>
#include <cstring>

namespace {

using NamesCsv::ErrorKind;
using NamesCsv::Language;

// Each kind in both wordings; %1 is the error's detail. The German goes through
// translation like every text of the window.
struct Wording
{
    ErrorKind kind;
    bool hasLine;
    const char *german;
    const char *english;
};

constexpr Wording wordings[] = {
    {ErrorKind::Unreadable, false, QT_TRANSLATE_NOOP("NamesCsv", "Die Datei kann nicht gelesen werden: %1"),
     "cannot be read: %1"},
    {ErrorKind::MissingHeader, true,
     QT_TRANSLATE_NOOP("NamesCsv", "Die Kopfzeile muss die Spalten „Adresse“ und „Name“ nennen."),
     "the header must name the columns Adresse and Name"},
    {ErrorKind::OtherColumn, true,
     QT_TRANSLATE_NOOP("NamesCsv", "Die Kopfzeile nennt neben „Adresse“ und „Name“ noch die Spalte „%1“."),
     "the header has a column '%1' besides Adresse and Name"},
    {ErrorKind::UnterminatedQuote, true, QT_TRANSLATE_NOOP("NamesCsv", "Ein Anführungszeichen wird nicht geschlossen."),
     "a quoted field is not closed"},
    {ErrorKind::TextAfterQuote, true,
     QT_TRANSLATE_NOOP("NamesCsv", "Nach dem schließenden Anführungszeichen steht noch Text."),
     "text follows a closing quote"},
    {ErrorKind::WrongFieldCount, true, QT_TRANSLATE_NOOP("NamesCsv", "Eine Zeile braucht 2 Felder, diese hat %1."),
     "a line needs 2 fields, this one has %1"},
    {ErrorKind::UnknownAddress, true,
     QT_TRANSLATE_NOOP("NamesCsv", "Die Adresse „%1“ gibt es in der Tabelle nicht (A–H, 1–12)."),
     "'%1' is not one of the addresses A-H 1-12"},
    {ErrorKind::DuplicateAddress, true, QT_TRANSLATE_NOOP("NamesCsv", "Die Adresse %1 steht zweimal in der Datei."),
     "address %1 is listed twice"},
    {ErrorKind::MixedEncoding, true,
     QT_TRANSLATE_NOOP("NamesCsv", "Ein Zeichen ist kein UTF-8, obwohl die übrige Datei UTF-8 ist. Bitte die Liste "
                                   "noch einmal als UTF-8 speichern."),
     "a byte that is not UTF-8 in a file that is otherwise UTF-8; save the list as UTF-8 again"},
    {ErrorKind::Unwritable, false, QT_TRANSLATE_NOOP("NamesCsv", "Die Datei kann nicht geschrieben werden: %1"),
     "cannot be written: %1"},
    {ErrorKind::FolderUnwritable, false,
     QT_TRANSLATE_NOOP("NamesCsv", "Der Ordner kann nicht angelegt oder beschrieben werden: %1"),
     "the folder cannot be created or written to: %1"},
    {ErrorKind::SpreadsheetFile, false,
     QT_TRANSLATE_NOOP("NamesCsv",
                       "Das ist eine Tabellendatei (%1). Bitte in der Tabellenkalkulation als CSV speichern."),
     "a spreadsheet file (%1), not a names list: save it as CSV"},
    {ErrorKind::TooLarge, false,
     QT_TRANSLATE_NOOP("NamesCsv", "Die Datei ist mit %1 Bytes zu groß für eine Namensliste (höchstens 4 MiB)."),
     "the file has %1 bytes, too large for a names list (at most 4 MiB)"},
    {ErrorKind::NameTooLong, true,
     QT_TRANSLATE_NOOP("NamesCsv", "Der Name ist zu lang (%1 Zeichen/UTF-16-Einheiten); ein Name hat höchstens 1000 "
                                   "Zeichen und 4000 Einheiten (Emoji und Akzente belegen mehrere)."),
     "the name is too long (%1 characters/UTF-16 code units); a name holds at most 1000 characters and 4000 code "
     "units (emoji and accents take several)"},
    {ErrorKind::NotText, false,
     QT_TRANSLATE_NOOP("NamesCsv",
                       "Die Datei ist kein Text, sondern ein Bild oder eine andere Binärdatei, keine Namensliste."),
     "the file holds no text: a picture or another binary file, not a names list"},
    {ErrorKind::NoSpace, false, QT_TRANSLATE_NOOP("NamesCsv", "Auf dem Datenträger ist kein Platz mehr."),
     "no space left on the device"},
};

// The limits the wordings spell out.
// NOLINTNEXTLINE(readability-magic-numbers)
static_assert(NamesCsv::maxListBytes == qint64{4} * 1024 * 1024);
// NOLINTNEXTLINE(readability-magic-numbers)
static_assert(NameRules::maxLength == 1000 && NameRules::maxCodeUnits == 4000);

QString inLanguage(const char *text, Language language)
{
    return language == Language::German ? QCoreApplication::translate("NamesCsv", text) : QString::fromUtf8(text);
}

} // namespace

QString NamesCsv::describe(const Error &error, Language language)
{
    for (const Wording &wording : wordings) {
        if (wording.kind != error.kind)
            continue;
        QString reason =
            withDetail(inLanguage(language == Language::German ? wording.german : wording.english, language),
                       error.detail, language);
        if (!wording.hasLine)
            return reason;
        const char *linePrefix =
            language == Language::German ? QT_TRANSLATE_NOOP("NamesCsv", "Zeile %1: %2") : "line %1: %2";
        return inLanguage(linePrefix, language).arg(QString::number(error.line), reason);
    }
    return {};
}

QString NamesCsv::withDetail(const QString &wording, const QString &detail, Language language)
{
    if (!wording.contains(QLatin1String("%1")))
        return wording;
    return wording.arg(language == Language::German ? NameForms::visible(detail)
                                                    : NameForms::escaped(detail, NameForms::LineBreaks::Escaped));
}

// Below this, a failed write is taken for a full device rather than for the reason the
// system gave, which for a full device is often a generic one.
static constexpr qint64 nearlyFullBytes = qint64{64} * 1024;

QString NamesCsv::nearestExisting(const QString &folder)
{
    QString existing = folder;
    while (!QFileInfo::exists(existing) && QFileInfo(existing).path() != existing)
        existing = QFileInfo(existing).path();
    return existing;
}

NamesCsv::Error NamesCsv::writeError(const QString &folder, const QString &reason)
{
    // A folder not made yet lies on the file system of the nearest one there is.
    const QStorageInfo storage(nearestExisting(folder));
    if (storage.isValid() && storage.isReadOnly())
        return {ErrorKind::FolderUnwritable, 0, QString::fromLocal8Bit(std::strerror(EROFS))};
    if (storage.isValid() && storage.bytesAvailable() >= 0 && storage.bytesAvailable() < nearlyFullBytes)
        return {ErrorKind::NoSpace, 0, reason};
    // Tried, since permissions tell nothing of a read-only mount or of a process as another user.
    QTemporaryFile probe(folder + QStringLiteral("/.vesk-probe-XXXXXX"));
    if (!probe.open())
        return {ErrorKind::FolderUnwritable, 0, reason.isEmpty() ? probe.errorString() : reason};
    return {ErrorKind::Unwritable, 0, reason};
}

std::optional<QByteArray> NamesCsv::readData(const QString &path, Error &error, qint64 maxBytes)
{
    const auto unreadable = [&error](const QString &why) {
        error = {ErrorKind::Unreadable, 0, why};
        return std::nullopt;
    };
    // A FIFO or a device would keep the reader waiting, or never end.
    if (QFileInfo::exists(path) && !QFileInfo(path).isFile())
        return unreadable(QStringLiteral("not a regular file"));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return unreadable(file.errorString());
    const qint64 size = file.size();
    if (size > maxBytes) {
        error = {ErrorKind::TooLarge, 0, QString::number(size)};
        return std::nullopt;
    }
    QByteArray data = file.readAll();
    // A network folder can hand out less than the file holds while it is replaced.
    if (data.size() < size)
        return unreadable(QStringLiteral("read %1 of %2 bytes").arg(data.size()).arg(size));
    return data;
}
