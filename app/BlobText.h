#pragma once
// A large-object value shown in the editor panel as text. Bytes that a text
// box cannot hold (NUL and other control bytes, the bytes code page 1252
// leaves undefined) make the value binary: it is shown with a mark in their
// place and cannot be written back from the panel, so it is never changed
// behind the user's back.
#include <QString>
#include <string>

struct BlobText {
    QString shown;
    bool editable = true;
};

BlobText BlobToText(const std::string& bytes);
