// The processor's wide vector registers between the toolkit's painting and our own arithmetic.
#pragma once

namespace kurvex {

// Marks the upper halves of the x86 vector registers unused. Qt's image routines leave them in
// use, and until they are cleared every scalar floating-point instruction compiled for the base
// instruction set runs many times slower; call this before heavy arithmetic that follows
// painting (fits, curve sampling). Does nothing on other processors.
void ClearUpperVectorState();

} // namespace kurvex
