// Test helpers for the term parser: a syntax-message recorder and one-line compile/evaluate helpers.
#pragma once

#include "core/fktpars.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kurvex::testing {

struct RecordedSyntaxError {
    int code;
    std::string message;
    int position;
};

// Installs a recorder for syntax messages and leaves the parser modes as it found them.
class ParserTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetSyntaxErrorHandler([this](int code, const std::string& message, int position) {
            messages.push_back({code, message, position});
        });
        IntegrandMode = false;
        SequenceMode = false;
        WValue = 0.0;
    }
    void TearDown() override
    {
        SetSyntaxErrorHandler(nullptr);
        IntegrandMode = false;
        SequenceMode = false;
        AllowVariables = false;
    }

    bool compile(const std::string& text, bool allowVariables = true)
    {
        messages.clear();
        return CompileTerm(tree, text, allowVariables);
    }

    // Compiles text (expecting success) and evaluates it; EvalOk tells whether the value is defined.
    double valueOf(const std::string& text, double x = 0, double t = 0, double a = 0, double b = 0,
                   double c = 0, double d = 0, double n = 0)
    {
        EXPECT_TRUE(compile(text)) << text;
        return EvaluateTerm(tree, x, t, a, b, c, d, n);
    }

    TermTree tree;
    std::vector<RecordedSyntaxError> messages;
};

} // namespace kurvex::testing
