#include "app/DeletionConsent.h"

#include "app/Dialogs.h"

bool ConfirmedTwice(const std::string& question) {
    return WarningOkCancel(question) && WarningOkCancel("Tem Certeza ? ? ?");
}
