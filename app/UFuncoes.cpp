#include "app/UFuncoes.h"

#include "app/Dialogs.h"
#include "app/ErrorHandling.h"

TFuncoes* Funcoes = nullptr;

TFuncoes::TFuncoes() {
    setObjectName(QStringLiteral("Funcoes"));
    setWindowTitle(QStringLiteral("Funcoes"));
    resize(473, 225);
    FormCreate(this);
}

TFuncoes::~TFuncoes() {
    SetApplicationErrorHandler(nullptr);
    if (Funcoes == this)
        Funcoes = nullptr;
}

void TFuncoes::FormCreate(QObject*) {
    SetApplicationErrorHandler(
        [this](QObject* sender, const std::exception& E) { erros_de_sistema(sender, E); });
}

void TFuncoes::erros_de_sistema(QObject*, const std::exception& E) {
    SystemMessageBox(E.what(), "Erro de sistema", MB_OK);
}

bool PerguntaSimNao(const std::string& question) {
    return SystemMessageBox(question, "Confirma\xE7\xE3o", MB_YESNO | MB_ICONQUESTION) == IDYES;
}
