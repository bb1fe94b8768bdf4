// Shared between the term compiler and the evaluator: raw access to a tree's storage and the program builder.
#pragma once

#include "core/fktpars.h"

namespace kurvex {

// Values a term's evaluation keeps pending at most; the nesting bound keeps every compiled term below it.
inline constexpr int kEvalStackCapacity = 4 * kMaxTermNesting + 16;

struct TermTreeAccess {
    static std::vector<TermNode>& nodes(TermTree& tree) { return tree.nodes_; }
    static std::vector<detail::TermStep>& program(TermTree& tree) { return tree.program_; }
    static const std::vector<detail::TermStep>& program(const TermTree& tree) { return tree.program_; }
};

// Turns the nodes of tree (children before parents) into its evaluation program.
void BuildTermProgram(TermTree& tree);

} // namespace kurvex
