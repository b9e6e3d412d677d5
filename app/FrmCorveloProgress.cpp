// What long work tells the window while it runs on its own thread: rows
// done, whether the user asked it to stop, and Label13's progress text.
#include "app/ScreenText.h"
#include "app/uFrmCorvelo.h"
#include "app/widgets/AutoSizeLabel.h"

void TfrmCorvelo::ShowRowsDone(std::int64_t rowsDone) {
    longWork_->SetDone(rowsDone);
}

bool TfrmCorvelo::CancelRequested() const {
    return longWork_->CancelRequested();
}

void TfrmCorvelo::ShowProgress(const std::string& text) {
    // Repainted at once: without work of its own thread the loop would not turn.
    OnWindowThread([this, &text] {
        Label13->setText(toScreen(text));
        Label13->repaint();
    });
}
