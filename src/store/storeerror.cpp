#include "store/storeerror.h"

#include "base/wording.h"

namespace {

// Each of the store's own kinds in both wordings; %1 is the error's detail.
constexpr Wording<StoreError::Kind> wordings[] = {
    {StoreError::Kind::Locked,
     QT_TRANSLATE_NOOP("StoreError",
                       "Die Datei ist gesperrt: Ein anderes Fenster oder vesk-dipp schreibt hinein (%1)."),
     "cannot be written: another window or vesk-dipp holds its lock (%1)"},
    {StoreError::Kind::Stalled,
     QT_TRANSLATE_NOOP("StoreError", "Der Ordner antwortet nicht; er hängt, wie es ein Netzwerkordner tun kann."),
     "the folder does not answer; it stalls, as a network folder can"},
    {StoreError::Kind::Link,
     QT_TRANSLATE_NOOP("StoreError", "%1 ist ein symbolischer Link. Die Namen werden nicht durch einen Link "
                                     "geschrieben; der Link und seine Zieldatei bleiben, wie sie sind."),
     "%1 is a symbolic link: the store does not write through a link and left the link and its target as they are"},
};

} // namespace

QString StoreError::describe(NamesCsv::Language language) const
{
    if (kind == Kind::List)
        return NamesCsv::describe(list, language);
    const QLocale::Language wordedIn = language == NamesCsv::Language::German ? QLocale::German : QLocale::English;
    return NamesCsv::withDetail(worded("StoreError", wordings, kind, wordedIn), detail, language);
}
