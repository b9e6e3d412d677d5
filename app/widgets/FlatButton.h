#pragma once
#include <QToolButton>

class QPixmap;

// A button that is clicked with the mouse only: it never takes keyboard focus,
// and shows either a caption or a picture. It keeps its bevel at rest so it
// reads as a button before the pointer reaches it.
class FlatButton : public QToolButton {
    Q_OBJECT
public:
    explicit FlatButton(const QString& caption, QWidget* parent = nullptr);

    // The picture replaces the caption on screen; text() keeps the caption.
    void setPicture(const QPixmap& picture);
};
