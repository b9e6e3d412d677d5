#pragma once
// While long work runs the wait cursor shows; a dialog shown meanwhile (a
// question, a message) takes input and shows the normal cursor.
class NormalCursor {
public:
    NormalCursor();
    ~NormalCursor();
    NormalCursor(const NormalCursor&) = delete;
    NormalCursor& operator=(const NormalCursor&) = delete;

private:
    bool pushed_ = false;
};
