#ifndef FITTINGDIALOG_H
#define FITTINGDIALOG_H

class QDialog;

// A dialog that fits the screen it opens on, down to small or scaled screens: its content
// scrolls where it does not fit, and the dialog opens no larger than the screen's free area.
class FittingDialog
{
public:
    // Call once the dialog's layout is complete.
    static void apply(QDialog *dialog);
};

#endif
