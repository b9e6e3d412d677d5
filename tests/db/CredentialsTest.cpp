// The main window's account: the built-in one, or another one named by
// ISC_USER and ISC_PASSWORD, as the client library's own tools take it.
#include "DbTestSupport.h"
#include "tests/support/ScopedEnvironment.h"

#include <gtest/gtest.h>

#include <ibase.h>
#include <optional>
#include <unistd.h>

namespace {

std::vector<std::string> mainConnectionParams() {
    TIBDatabase connection;
    TIBTransaction transaction;
    ConfigureMainConnection(connection, transaction);
    return connection.Params();
}

void setOrUnset(ScopedEnvironment& environment, const char* name, const std::optional<std::string>& value) {
    if (value)
        environment.set(name, *value);
    else
        environment.unset(name);
}

TEST(MainConnectionCredentials, EachVariableReplacesOnlyItsOwnValue) {
    struct Case {
        std::optional<std::string> user, password;
        std::vector<std::string> params;
    };
    const Case cases[] = {
        {std::nullopt, std::nullopt, kMainWindowParams},
        // An empty variable names no account.
        {"", "", kMainWindowParams},
        {"TECNICO", std::nullopt, {"user_name=TECNICO", "password=lanternix", "lc_ctype=WIN1252"}},
        {std::nullopt, "s=3nh@ ", {"user_name=Sysdba", "password=s=3nh@ ", "lc_ctype=WIN1252"}},
        {"tecnico", "outra", {"user_name=tecnico", "password=outra", "lc_ctype=WIN1252"}},
    };
    for (const Case& c : cases) {
        ScopedEnvironment environment;
        setOrUnset(environment, "ISC_USER", c.user);
        setOrUnset(environment, "ISC_PASSWORD", c.password);
        EXPECT_EQ(mainConnectionParams(), c.params) << "ISC_USER " << c.user.value_or("(unset)")
                                                    << ", ISC_PASSWORD " << c.password.value_or("(unset)");
    }
}

// An account of the test server's own for one test; dropped at its end.
class ServerAccount {
public:
    ServerAccount(TestDatabase& db, std::string name, const std::string& password)
        : db_(db), name_(std::move(name)) {
        db_.exec("CREATE USER " + name_ + " PASSWORD '" + password + "'");
    }
    ~ServerAccount() {
        try {
            db_.exec("DROP USER " + name_);
        } catch (...) {
        }
    }
    ServerAccount(const ServerAccount&) = delete;
    ServerAccount& operator=(const ServerAccount&) = delete;

private:
    TestDatabase& db_;
    std::string name_;
};

// Tests run in parallel on one server: every account name is this process's own.
std::string accountName(const char* what) {
    return std::string("CORVELO_") + what + "_" + std::to_string(::getpid());
}

// Who the main window's connection is attached as, seen by the server.
std::string attachedUser(MainWindowConnection& c) {
    const auto users = c.db.query("SELECT TRIM(MON$USER) FROM MON$ATTACHMENTS "
                                  "WHERE MON$ATTACHMENT_ID <> CURRENT_CONNECTION AND MON$SYSTEM_FLAG = 0");
    return users.size() == 1 ? *users[0][0] : "(" + std::to_string(users.size()) + " attachments)";
}

TEST(MainConnectionCredentials, AnAccountFromTheEnvironmentIsTheOneThatConnects) {
    const std::string name = accountName("BOTH");
    ScopedEnvironment environment;
    environment.set("ISC_USER", name).set("ISC_PASSWORD", "Outra-Senha");
    MainWindowConnection c;
    ServerAccount account(c.db, name, "Outra-Senha");
    c.connection.SetConnected(true);
    EXPECT_EQ(attachedUser(c), name);
}

TEST(MainConnectionCredentials, AUserNameAloneKeepsTheBuiltInPassword) {
    const std::string name = accountName("USER");
    ScopedEnvironment environment;
    environment.set("ISC_USER", name).unset("ISC_PASSWORD");
    MainWindowConnection c;
    ServerAccount account(c.db, name, "lanternix");
    c.connection.SetConnected(true);
    EXPECT_EQ(attachedUser(c), name);
}

TEST(MainConnectionCredentials, AWrongPasswordFromTheEnvironmentGivesTheServersOwnText) {
    ScopedEnvironment environment;
    environment.unset("ISC_USER").set("ISC_PASSWORD", "senha-errada");
    MainWindowConnection c;
    try {
        c.connection.SetConnected(true);
        FAIL() << "attached with a wrong password";
    } catch (const EIBInterBaseError& e) {
        EXPECT_EQ(e.IBErrorCode(), isc_login);
        EXPECT_EQ(e.Message(), "Your user name and password are not defined. Ask your database administrator "
                               "to set up a Firebird login");
    }
    EXPECT_FALSE(c.connection.Connected());
}

TEST(MainConnectionCredentials, APasswordTooLongForTheParametersIsRefusedWithoutBeingShown) {
    const std::string password(300, 'k');
    ScopedEnvironment environment;
    environment.unset("ISC_USER").set("ISC_PASSWORD", password);
    MainWindowConnection c;
    try {
        c.connection.SetConnected(true);
        FAIL() << "attached with a cut password";
    } catch (const EDatabaseError& e) {
        EXPECT_EQ(std::string(e.what()), "DPB Constant (isc_dpb_password) value is too long");
    }
    EXPECT_FALSE(c.connection.Connected());
}

} // namespace
