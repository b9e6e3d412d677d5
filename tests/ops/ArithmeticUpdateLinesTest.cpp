// The text of the arithmetic UPDATE, before anything reaches the server.
#include "ops/ArithmeticUpdate.h"
#include "util/Exceptions.h"
#include "util/FormatSettings.h"

#include <gtest/gtest.h>

using Lines = std::vector<std::string>;

TEST(ArithmeticUpdateLines, FourLinesWithAnActiveFilterTwoWithout) {
    ApplyProgramFormatSettings();
    ArithmeticRequest request{"PRODUTOS", "PRECO", ArithmeticOperator::Multiply, "1.1", true, "GRUPO = 3"};
    EXPECT_EQ(ArithmeticUpdateLines(request),
              (Lines{"Update PRODUTOS Set", "PRECO= PRECO*1.1", "WHERE", "(GRUPO = 3)"}));
    request.filtered = false;
    EXPECT_EQ(ArithmeticUpdateLines(request), (Lines{"Update PRODUTOS Set", "PRECO= PRECO*1.1"}));
}

TEST(ArithmeticUpdateLines, TheValueGoesAsTypedOnceItReadsAsANumber) {
    ApplyProgramFormatSettings();
    ArithmeticRequest request{"T", "PRECO", ArithmeticOperator::Multiply, " 2", false, ""};
    EXPECT_EQ(ArithmeticUpdateLines(request)[1], "PRECO= PRECO* 2");
    request.value = "1e2";
    request.op = ArithmeticOperator::Divide;
    EXPECT_EQ(ArithmeticUpdateLines(request)[1], "PRECO= PRECO/1e2");
    request.value = "-5";
    request.op = ArithmeticOperator::Add;
    EXPECT_EQ(ArithmeticUpdateLines(request)[1], "PRECO= PRECO+-5");
}

TEST(ArithmeticUpdateLines, SubtractingANegativeNumberStaysASubtraction) {
    ApplyProgramFormatSettings();
    ArithmeticRequest request{"T", "PRECO", ArithmeticOperator::Subtract, "-5", false, ""};
    EXPECT_EQ(ArithmeticUpdateLines(request)[1], "PRECO= PRECO- -5");
    request.value = "5";
    EXPECT_EQ(ArithmeticUpdateLines(request)[1], "PRECO= PRECO-5");
}

TEST(ArithmeticUpdateLines, ANonNumberIsRejectedWithItsText) {
    ApplyProgramFormatSettings();
    for (const std::string value : {"1,5", "Edit2", ""}) {
        ArithmeticRequest request{"T", "PRECO", ArithmeticOperator::Add, value, false, ""};
        try {
            ArithmeticUpdateLines(request);
            ADD_FAILURE() << value;
        } catch (const EConvertError& e) {
            EXPECT_EQ(e.Message(), "'" + value + "' is not a valid floating point value");
        }
    }
}
