#ifndef APPSTYLE_H
#define APPSTYLE_H

namespace AppStyle {

// Sets the application's widget style; needs the QApplication to exist.
void apply();

} // namespace AppStyle

#endif
