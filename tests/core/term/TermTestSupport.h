// Test helpers for the term parser: a syntax-message recorder in a fixture that puts the shared state back.
#pragma once

#include "core/term/Term.h"
#include "support/SharedState.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kurvex::testing {

struct RecordedSyntaxError {
    int code;
    std::string message;
    int position;
};

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

    bool compile(const std::string& text, bool allowVariables = true)
    {
        messages.clear();
        return CompileTerm(tree, text, allowVariables);
    }

    // Compiles text (expecting success) and evaluates it at x with a = 3, b = 5; EvalOk tells whether the
    // value is defined.
    double valueOf(const std::string& text, double x = 0)
    {
        EXPECT_TRUE(compile(text)) << text;
        return EvaluateTerm(tree, x, 0, 3, 5, 0, 0, 0);
    }

    test::SharedStateScope shared;
    TermTree tree;
    std::vector<RecordedSyntaxError> messages;
};

} // namespace kurvex::testing
