#ifndef ARLABEL_H
#define ARLABEL_H

#include "address/addresscodec.h"
#include "page/tablepdf.h"

#include <QPoint>
#include <QString>
#include <QWidget>

// The switch panel: draws the five DIP switches of one module, lets the user set them
// by dragging, clicking or the keyboard, and renders the address table when asked to.
class ArLabel : public QWidget
{
    Q_OBJECT

public:
    explicit ArLabel(QWidget *parent = nullptr);

    QString getStrAdr();
    void setStrAdr(const QString &adr);
    void startTableRender();

    const DippSetting &positions() const { return dipp; }

    // The switches and the address as assistive technology reads them.
    QString accessibleValue() const;

    // Names by canonical address, assigned whole before a render.
    Names adrNames;

signals:
    // Return on the panel: the user wants the address of the switches.
    void readBackRequested();
    // A render requested by startTableRender() wrote the table, or failed to.
    void tableRendered(const QString &path, const TablePdf::Result &result);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    void setPosition(int index, int position);
    void setChosenRow(int row);
    void switchesChanged();
    void renderTable();

    DippSetting dipp{};
    QPoint pressPos; // of the last left press; its x chooses the dragged switch
    bool movedSincePress = false;
    int chosenSwitch = 0; // the one the keys move
    bool renderPending = false;
};

#endif
