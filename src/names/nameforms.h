#ifndef NAMEFORMS_H
#define NAMEFORMS_H

#include <QString>

// How a name is written where its hidden characters (NameRules::isHiddenCharacter) must not
// act: in the window as symbols, on a terminal as escapes that "names set" takes back, and
// in a sentence in its own direction. Only what is shown changes; the name stays as stored.
namespace NameForms {

enum class LineBreaks { Kept, Escaped };

// For the eye: a C0 control as its control picture (ESC as "␛"), any other hidden character
// as "⟨U+202E⟩".
QString visible(const QString &name);
// For a terminal: a hidden character as "\u{1B}"; backslashes before "u{" or before such an
// escape doubled, so that "\u{" in a name reads "\\u{".
QString escaped(const QString &name, LineBreaks lineBreaks);
// What escaped wrote, back, and "\u{41}" typed for any character; an escape that is no
// character stays as written.
QString unescaped(const QString &text);
// Within a sentence, in its visible form and set apart in its own direction, so that it
// cannot turn the words beside it around.
QString isolated(const QString &name);

} // namespace NameForms

#endif
