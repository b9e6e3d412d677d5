// The progress line of long row walks: "rows done", repainted at once because
// the walk processes no window events, at most about ten times a second so
// the painting does not slow the walk.
#include "app/uFrmCorvelo.h"

#include <QLabel>

namespace {
constexpr std::chrono::milliseconds RepaintInterval{100};
}

void TfrmCorvelo::ShowRowsDone(std::int64_t rowsDone) {
    const auto now = std::chrono::steady_clock::now();
    if (lblProgresso->isVisible() && now - rowsDoneShownAt_ < RepaintInterval)
        return;
    rowsDoneShownAt_ = now;
    lblProgresso->setText(QStringLiteral(" Processando... registros: %1").arg(rowsDone));
    lblProgresso->show();
    lblProgresso->raise();
    lblProgresso->repaint();
}

void TfrmCorvelo::HideRowsDone() {
    lblProgresso->hide();
}
