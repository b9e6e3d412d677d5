// The attach and transaction parameter buffers, byte for byte, without a server.
#include "db/ParameterBuffers.h"

#include "DbTestSupport.h"
#include "util/Exceptions.h"

#include <gtest/gtest.h>

namespace {

std::string bytes(std::initializer_list<int> values) {
    std::string result;
    for (int v : values)
        result += static_cast<char>(v);
    return result;
}

} // namespace

TEST(AttachParameterBuffer, MainWindowLinesGiveTheTwentyNineBytes) {
    const std::string expected =
        bytes({1, 28, 6}) + "Sysdba" + bytes({29, 9}) + "lanternix" + bytes({48, 7}) + "WIN1252";
    const std::string buffer = BuildAttachParameterBuffer(kMainWindowParams);
    EXPECT_EQ(buffer.size(), 29u);
    EXPECT_EQ(buffer, expected);
}

TEST(AttachParameterBuffer, NamesAreMatchedInAnyCaseWithOrWithoutPrefixAndValuesKeptAsTyped) {
    EXPECT_EQ(BuildAttachParameterBuffer({"ISC_DPB_USER_NAME= Sysdba ", "Sql_Role_Name=R=1"}),
              bytes({1, 28, 8}) + " Sysdba " + bytes({60, 3}) + "R=1");
    EXPECT_EQ(BuildAttachParameterBuffer({"password="}), bytes({1, 29, 0}));
}

TEST(AttachParameterBuffer, BlankNamesAreSkippedAndNoLinesGiveTheVersionByte) {
    EXPECT_EQ(BuildAttachParameterBuffer({}), bytes({1}));
    EXPECT_EQ(BuildAttachParameterBuffer({"", "   =x", "=y"}), bytes({1}));
}

TEST(AttachParameterBuffer, NumericAndFlagParametersAreEncodedWithTheirValue) {
    EXPECT_EQ(BuildAttachParameterBuffer({"sql_dialect=3"}), bytes({1, 63, 4, 3, 0, 0, 0}));
    EXPECT_EQ(BuildAttachParameterBuffer({"num_buffers=300"}), bytes({1, 5, 4, 0x2C, 1, 0, 0}));
    EXPECT_EQ(BuildAttachParameterBuffer({"sweep="}), bytes({1, 10, 1, 2}));
    EXPECT_EQ(BuildAttachParameterBuffer({"activate_shadow"}), bytes({1, 21, 1, 0}));
    EXPECT_THROW(BuildAttachParameterBuffer({"sql_dialect=three"}), EConvertError);
}

TEST(AttachParameterBuffer, UnknownAndUnsupportedNamesAreRefused) {
    // The unknown name is reported as written, blanks and case included.
    EXPECT_CLIENT_ERROR(BuildAttachParameterBuffer({" user_name=Sysdba"}), 114,
                        "DPB Constant ( user_name) is unknown");
    EXPECT_CLIENT_ERROR(BuildAttachParameterBuffer({"Isc_Dpb_Colour=red"}), 114,
                        "DPB Constant (Isc_Dpb_Colour) is unknown");
    EXPECT_CLIENT_ERROR(BuildAttachParameterBuffer({"user"}), 114, "DPB Constant (user) is unknown");
    // Names beyond the first 67 of the client API are not in the table either.
    EXPECT_CLIENT_ERROR(BuildAttachParameterBuffer({"set_db_charset=WIN1252"}), 114,
                        "DPB Constant (set_db_charset) is unknown");
    EXPECT_CLIENT_ERROR(BuildAttachParameterBuffer({"ISC_DPB_PAGE_SIZE=4096"}), 11,
                        "DPB Constant (isc_dpb_page_size) is unsupported");
    EXPECT_CLIENT_ERROR(BuildAttachParameterBuffer({"gstat_attach=1"}), 11,
                        "DPB Constant (isc_dpb_gstat_attach) is unsupported");
}

TEST(AttachParameterBuffer, ValueTooLongForItsLengthByteIsRefused) {
    EXPECT_EQ(BuildAttachParameterBuffer({"password=" + std::string(255, 'x')}).size(), 258u);
    EXPECT_THROW(BuildAttachParameterBuffer({"password=" + std::string(256, 'x')}), EDatabaseError);
}

TEST(TransactionParameterBuffer, MainWindowLinesGiveFourBytes) {
    EXPECT_EQ(BuildTransactionParameterBuffer(kMainWindowTransactionParams), bytes({3, 15, 17, 7}));
}

TEST(TransactionParameterBuffer, NoLinesGiveAnEmptyBufferAndBlankLinesAreSkipped) {
    EXPECT_EQ(BuildTransactionParameterBuffer({}), "");
    EXPECT_EQ(BuildTransactionParameterBuffer({"", " ", "WRITE"}), bytes({3, 9}));
}

TEST(TransactionParameterBuffer, PrefixCaseAndTableReservations) {
    EXPECT_EQ(BuildTransactionParameterBuffer({"isc_tpb_concurrency", "ISC_TPB_WAIT", "read=ignored"}),
              bytes({3, 2, 6, 8}));
    EXPECT_EQ(BuildTransactionParameterBuffer({"lock_write=CLIENTES", "LOCK_READ=Itens"}),
              bytes({3, 11, 8}) + "CLIENTES" + bytes({10, 5}) + "Itens");
}

TEST(TransactionParameterBuffer, UnknownAndUnsupportedNamesAreRefused) {
    EXPECT_CLIENT_ERROR(BuildTransactionParameterBuffer({"read_commited"}), 115,
                        "TPB Constant (read_commited) is unknown");
    EXPECT_CLIENT_ERROR(BuildTransactionParameterBuffer({"lock_timeout=5"}), 115,
                        "TPB Constant (lock_timeout) is unknown");
    EXPECT_CLIENT_ERROR(BuildTransactionParameterBuffer({"Autocommit"}), 13,
                        "TPB Constant (isc_tpb_autocommit) is unsupported");
    EXPECT_CLIENT_ERROR(BuildTransactionParameterBuffer({"isc_tpb_no_auto_undo"}), 13,
                        "TPB Constant (isc_tpb_no_auto_undo) is unsupported");
}
