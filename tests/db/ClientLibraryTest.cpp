// Loading the client library, and turning its status vectors into the layer's errors.
#include "db/ClientLibrary.h"
#include "db/DatabaseErrors.h"
#include "db/StatusVector.h"
#include "db/TIBDatabase.h"

#include <cerrno>
#include <gtest/gtest.h>

#include <cstdlib>

namespace {

const char* const kLibraryMissing =
    "InterBase library gds32.dll not found in the path. Please install InterBase to use this functionality";

ISC_STATUS text(const char* s) {
    return reinterpret_cast<ISC_STATUS>(s);
}

// Raises the error of a status vector and hands it back for inspection.
template <class E> E raised(const ISC_STATUS* status) {
    try {
        RaiseDatabaseError(Client(), status);
    } catch (const E& e) {
        return e;
    }
    throw std::logic_error("RaiseDatabaseError returned");
}

} // namespace

TEST(ClientLibrary, MissingFileOrEntryPointIsErrorOfCodeOne) {
    for (const char* file : {"/nonexistent/libfbclient.so.2", "libm.so.6"}) {
        SCOPED_TRACE(file);
        try {
            LoadClientLibrary(file);
            ADD_FAILURE() << "loaded";
        } catch (const EIBClientError& e) {
            EXPECT_EQ(e.SQLCode(), 1);
            EXPECT_EQ(e.Message(), kLibraryMissing);
        }
    }
}

TEST(ClientLibrary, TheInstalledLibraryHasEveryEntryPoint) {
    auto lib = LoadClientLibrary("libfbclient.so.2");
    EXPECT_NE(lib->rollback_retaining, nullptr);
    EXPECT_NE(lib->fb_interpret, nullptr);
}

// The process-wide library is loaded once, so the missing-library path of a
// real connection is checked in a fresh process.
TEST(ClientLibraryDeathTest, ConnectionFailsWithCodeOneWhenTheLibraryIsMissing) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            setenv("CORVELO_FBCLIENT", "/nonexistent/libfbclient.so.2", 1);
            try {
                TIBDatabase connection;
            } catch (const EIBClientError& e) {
                std::exit(e.SQLCode() == 1 && e.Message() == kLibraryMissing ? 0 : 2);
            }
            std::exit(3);
        },
        testing::ExitedWithCode(0), "");
}

TEST(DatabaseErrorMessage, TextsAreJoinedByCrLfUnlessOneEndsWithLineFeedAndTheFinalDotGoes) {
    const ISC_STATUS joined[] = {isc_arg_gds,         isc_random,          isc_arg_string,
                                 text("first line."), isc_arg_interpreted, text("second line."),
                                 isc_arg_end};
    EXPECT_EQ(DatabaseErrorMessage(Client(), joined), "first line.\r\nsecond line");

    const ISC_STATUS afterLineFeed[] = {isc_arg_gds,         isc_random,     isc_arg_string, text("first\n"),
                                        isc_arg_interpreted, text("second"), isc_arg_end};
    EXPECT_EQ(DatabaseErrorMessage(Client(), afterLineFeed), "first\nsecond");
}

TEST(DatabaseErrorMessage, EngineErrorBecomesInterBaseErrorWithSqlCodeAndErrorNumber) {
    const ISC_STATUS status[] = {isc_arg_gds,    isc_io_error,   isc_arg_string, text("open"),
                                 isc_arg_string, text("/x.fdb"), isc_arg_end};
    auto e = raised<EIBInterBaseError>(status);
    EXPECT_EQ(typeid(e), typeid(EIBInterBaseError));
    EXPECT_EQ(e.SQLCode(), -902);
    EXPECT_EQ(e.IBErrorCode(), isc_io_error);
    EXPECT_EQ(e.Message(), "I/O error during \"open\" operation for file \"/x.fdb\"");
}

TEST(DatabaseErrorMessage, TextsOfTheSystemInUtf8AreShownInTheCodePage) {
    // A path on the server and the reason a call failed come as the system writes them.
    const ISC_STATUS status[] = {isc_arg_gds,  isc_io_error,    isc_arg_string,
                                 text("open"), isc_arg_string,  text("/dados/a\xC3\xA7\xC3\xA3o.fdb"),
                                 isc_arg_gds,  isc_io_open_err, isc_arg_unix,
                                 ENOENT,       isc_arg_end};
    const std::string expected = "I/O error during \"open\" operation for file \"/dados/a\xE7\xE3o.fdb\"";
    EXPECT_EQ(DatabaseErrorMessage(Client(), status).substr(0, expected.size()), expected);
    // A name of the connection's objects is in the code page already and stays.
    const ISC_STATUS named[] = {isc_arg_gds,    isc_no_priv,        isc_arg_string,
                                text("SELECT"), isc_arg_string,     text("TABLE"),
                                isc_arg_string, text("A\xC7\xC3O"), isc_arg_end};
    EXPECT_EQ(DatabaseErrorMessage(Client(), named), "no permission for SELECT access to TABLE A\xC7\xC3O");
}

TEST(DatabaseErrorMessage, NoPermissionIsTheRoleError) {
    const ISC_STATUS status[] = {isc_arg_gds,    isc_no_priv,      isc_arg_string,
                                 text("SELECT"), isc_arg_string,   text("TABLE"),
                                 isc_arg_string, text("CLIENTES"), isc_arg_end};
    try {
        RaiseDatabaseError(Client(), status);
    } catch (const EIBInterBaseRoleError& e) {
        EXPECT_EQ(e.SQLCode(), -551);
        EXPECT_EQ(e.IBErrorCode(), isc_no_priv);
        EXPECT_EQ(e.Message(), "no permission for SELECT access to TABLE CLIENTES");
        return;
    }
    ADD_FAILURE() << "not a role error";
}
