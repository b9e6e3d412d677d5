#pragma once
// The hidden utility form: its creation installs the application-wide error
// handler. The unit also holds the yes/no question box.
#include <QWidget>
#include <exception>
#include <string>

class TFuncoes : public QWidget {
    Q_OBJECT
public:
    TFuncoes();
    ~TFuncoes() override;

    void FormCreate(QObject* sender);
    // Shows the error's message unchanged in the "Erro de sistema" box.
    void erros_de_sistema(QObject* sender, const std::exception& E);
};

extern TFuncoes* Funcoes;

// Asks a question with Yes and No ("Confirmação"); true only for Yes.
bool PerguntaSimNao(const std::string& question);
