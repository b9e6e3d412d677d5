// The statement of the constant mode and the currency step of the sum.
#include "ops/WriteField.h"

#include <gtest/gtest.h>

namespace {

using Lines = std::vector<std::string>;

TEST(ConstantUpdateLines, TextsGoAsTypedWithTheValueQuoted) {
    ConstantUpdateRequest request{"CLIENTES", "NOME", "X", true, "CIDADE = 1"};
    EXPECT_EQ(ConstantUpdateLines(request),
              (Lines{"Update CLIENTES Set", "NOME= 'X'", "WHERE", "(CIDADE = 1)"}));
    request = {" clientes ", "NOME ", " 1 ", false, "ignored"};
    EXPECT_EQ(ConstantUpdateLines(request), (Lines{"Update  clientes  Set", "NOME = ' 1 '"}));
    request.filterText = "";
    request.filtered = true;
    EXPECT_EQ(ConstantUpdateLines(request).back(), "()");
}

TEST(ConstantUpdateLines, EveryApostropheOfTheValueIsDoubled) {
    ConstantUpdateRequest request{"T", "C", "'a''b'", false, ""};
    EXPECT_EQ(ConstantUpdateLines(request)[1], "C= '''a''''b'''");
    request.value = "";
    EXPECT_EQ(ConstantUpdateLines(request)[1], "C= ''");
}

TEST(AddCurrency, TenthsAddUpToTheExpectedDouble) {
    double total = 0;
    for (std::int64_t scaled : {1000, 2000, 3000})
        total = AddCurrency(total, scaled);
    EXPECT_DOUBLE_EQ(total, 0.6);
    EXPECT_EQ(AddCurrency(0, -5), -0.0005);
    EXPECT_EQ(AddCurrency(1e15, 10000), 1e15 + 1);
}

} // namespace
