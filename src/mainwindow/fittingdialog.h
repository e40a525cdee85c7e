#ifndef FITTINGDIALOG_H
#define FITTINGDIALOG_H

class QDialog;
class QLayout;

// A dialog that fits the screen it opens on, down to small or scaled screens: its content
// scrolls where it does not fit, and the dialog opens no larger than the screen's free area.
class FittingDialog
{
public:
    // Call once the dialog's layout is complete. The buttons, a layout inside it, are taken
    // below the scrolled content: always in view, as is whatever field the focus goes to.
    static void apply(QDialog *dialog, QLayout *buttons);
};

#endif
