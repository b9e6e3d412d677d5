#include "db/TIBDataSetBase.h"

#include "db/TIBDatabase.h"
#include "db/TIBTransaction.h"

void TIBDataSetBase::ConnectAndStart() {
    CheckDatabase();
    CheckTransaction();
    if (!Database()->Connected())
        Database()->SetConnected(true);
    Transaction()->AutoStart();
}

void TIBDataSetBase::closeAndFree() {
    // Statements go even when closing fails: their handles die with the
    // transaction or the attachment.
    struct FreeOnExit {
        TIBDataSetBase* self;
        ~FreeOnExit() { self->FreeStatements(); }
    } freeOnExit{this};
    if (Active())
        Close();
}
