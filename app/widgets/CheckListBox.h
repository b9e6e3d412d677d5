#pragma once
#include <QListWidget>

// A list whose every entry carries its own check box.
class CheckListBox : public QListWidget {
    Q_OBJECT
public:
    explicit CheckListBox(QWidget* parent = nullptr);

    static constexpr int itemHeight = 13;

    void addCheckItem(const QString& text);
    bool isChecked(int row) const;
    void setChecked(int row, bool checked);
};
