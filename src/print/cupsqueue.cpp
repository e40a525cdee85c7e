#include "print/cupsqueue.h"

#include <QFile>
#include <QStringList>

#include <cups/cups.h>

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <memory>

namespace {

using Connection = std::unique_ptr<http_t, decltype(&httpClose)>;
using Message = std::unique_ptr<ipp_t, decltype(&ippDelete)>;
using Outcome = PrintReport::Outcome;

// Long enough for a busy server, short enough for a window that waits on it.
constexpr int connectTimeoutMs = 10000;
const char *const printerAttributes[] = {"printer-is-accepting-jobs", "printer-state", "printer-state-message"};
const char *const jobAttributes[] = {"job-state", "job-state-reasons", "job-state-message"};
// Besides blanks and control characters, what no queue's or instance's name holds.
constexpr char notInNames[] = "/\\?'\"#";

QStringList texts(ipp_t *message, const char *name)
{
    QStringList found;
    ipp_attribute_t *attribute = ippFindAttribute(message, name, IPP_TAG_ZERO);
    for (int i = 0; i < ippGetCount(attribute); ++i)
        found.append(QString::fromUtf8(ippGetString(attribute, i, nullptr)));
    return found;
}

int number(ipp_t *message, const char *name)
{
    return ippGetInteger(ippFindAttribute(message, name, IPP_TAG_ENUM), 0);
}

// A request about the queue; cupsDoRequest takes it over.
template<std::size_t count>
ipp_t *request(ipp_op_t operation, const char *uri, const char *const (&wanted)[count])
{
    ipp_t *request = ippNewRequest(operation);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr, uri);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_NAME, "requesting-user-name", nullptr, cupsUser());
    ippAddStrings(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes", static_cast<int>(count), nullptr,
                  wanted);
    return request;
}

bool failed(ipp_t *response)
{
    return response == nullptr || cupsLastError() > IPP_STATUS_OK_EVENTS_COMPLETE;
}

// What CUPS's last answer, an error, means for the job.
PrintReport lastFailure(const QString &name)
{
    switch (cupsLastError()) {
    case IPP_STATUS_ERROR_NOT_FOUND:
        return PrintReport::of(Outcome::NoPrinter, name);
    case IPP_STATUS_ERROR_SERVICE_UNAVAILABLE:
        return PrintReport::of(Outcome::NoService, name);
    case IPP_STATUS_ERROR_NOT_ACCEPTING_JOBS:
        return PrintReport::of(Outcome::Refused, name, QString::fromUtf8(cupsLastErrorString()));
    default:
        return PrintReport::of(Outcome::Failed, name, QString::fromUtf8(cupsLastErrorString()));
    }
}

// The job's state as CUPS keeps it; a queue that is paused leaves it pending.
PrintReport jobReport(const QString &name, ipp_t *job, bool stopped)
{
    const int state = number(job, "job-state");
    const QStringList reasons = texts(job, "job-state-reasons");
    if (state == IPP_JSTATE_HELD)
        return PrintReport::of(Outcome::Held, name);
    const bool waits = state == IPP_JSTATE_PENDING && (stopped || reasons.contains(QLatin1String("printer-stopped")));
    if (waits || state == IPP_JSTATE_STOPPED)
        return PrintReport::of(Outcome::Paused, name);
    if (state == IPP_JSTATE_CANCELED || state == IPP_JSTATE_ABORTED) {
        const QStringList message = texts(job, "job-state-message");
        return PrintReport::of(Outcome::Failed, name,
                               message.value(0).isEmpty() ? reasons.join(QStringLiteral(", ")) : message.value(0));
    }
    return PrintReport::of(Outcome::Printed, name);
}

// As CUPS names a queue or an instance; it reads what follows a slash as an instance, so that
// "Q/../R" would print on Q.
bool isCupsName(const QByteArray &part)
{
    return !part.isEmpty() && std::none_of(part.cbegin(), part.cend(), [](char c) {
        return static_cast<unsigned char>(c) <= ' ' || std::strchr(notInNames, c) != nullptr;
    });
}

} // namespace

namespace CupsQueue {

PrintReport print(const QString &name, const QString &pdfFile, const QString &title, const Options &options)
{
    const QByteArray queue = name.section(u'/', 0, 0).toUtf8();
    if (!isCupsName(queue) || (name.contains(u'/') && !isCupsName(name.section(u'/', 1).toUtf8()))) {
        return PrintReport::of(Outcome::Failed, name,
                               QStringLiteral("CUPS names a printer QUEUE or QUEUE/INSTANCE, "
                                              "neither with a blank, a quote, '/', '\\', '?' or '#'"));
    }
    const Connection http(
        httpConnect2(cupsServer(), ippPort(), nullptr, AF_UNSPEC, cupsEncryption(), 1, connectTimeoutMs, nullptr),
        &httpClose);
    if (!http)
        return PrintReport::of(Outcome::NoService, name);
    char uri[HTTP_MAX_URI];
    httpAssembleURIf(HTTP_URI_CODING_ALL, uri, sizeof uri, "ipp", nullptr, "localhost", ippPort(), "/printers/%s",
                     queue.constData());

    // Asked first: a refusal to the job alone does not tell why the queue refuses.
    const Message printer(
        cupsDoRequest(http.get(), request(IPP_OP_GET_PRINTER_ATTRIBUTES, uri, printerAttributes), "/"), &ippDelete);
    if (failed(printer.get()))
        return lastFailure(name);
    if (ippGetBoolean(ippFindAttribute(printer.get(), "printer-is-accepting-jobs", IPP_TAG_BOOLEAN), 0) == 0)
        return PrintReport::of(Outcome::Refused, name, texts(printer.get(), "printer-state-message").value(0));
    const bool stopped = number(printer.get(), "printer-state") == IPP_PSTATE_STOPPED;

    cups_option_t *jobOptions = nullptr;
    int count = cupsAddOption("document-format", "application/pdf", 0, &jobOptions);
    for (const auto &[option, value] : options)
        count = cupsAddOption(option.constData(), value.constData(), count, &jobOptions);
    const int job = cupsPrintFile2(http.get(), queue.constData(), QFile::encodeName(pdfFile).constData(),
                                   title.toUtf8().constData(), count, jobOptions);
    cupsFreeOptions(count, jobOptions);
    if (job == 0)
        return lastFailure(name);

    ipp_t *ask = request(IPP_OP_GET_JOB_ATTRIBUTES, uri, jobAttributes);
    ippAddInteger(ask, IPP_TAG_OPERATION, IPP_TAG_INTEGER, "job-id", job);
    const Message state(cupsDoRequest(http.get(), ask, "/"), &ippDelete);
    // The job exists either way; without its state the queue's tells whether it waits.
    if (failed(state.get()))
        return PrintReport::of(stopped ? Outcome::Paused : Outcome::Printed, name);
    return jobReport(name, state.get(), stopped);
}

} // namespace CupsQueue
