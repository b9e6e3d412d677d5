#pragma once
#include <QLabel>

// A caption placed by its top-left corner that always takes the size of its
// text, also when a handler changes the text later (progress lines, times).
class AutoSizeLabel : public QLabel {
    Q_OBJECT
public:
    explicit AutoSizeLabel(const QString& text, QWidget* parent = nullptr);

    // Hides QLabel::setText on purpose: callers hold AutoSizeLabel pointers.
    void setText(const QString& text);

protected:
    void changeEvent(QEvent* event) override;
};
