// Reading the program's text files: every line end ends a line. Files that are no text or too large
// are refused where the settings file is read.
#include "platform/TextFile.h"

#include "support/TestTempDir.h"

#include <gtest/gtest.h>

namespace kurvex {
namespace {

using test::TempDir;
using test::WriteBytes;
using Lines = std::vector<std::string>;

TEST(TextFile, EveryLineEndEndsALine)
{
    struct Case {
        const char* name;
        const char* bytes;
        Lines lines;
    };
    const Case cases[] = {
        {"CR LF", "x^2\r\nsin(x)\r\n", {"x^2", "sin(x)"}},
        {"LF", "x^2\nsin(x)\n", {"x^2", "sin(x)"}},
        {"CR alone", "x^2\rsin(x)\r", {"x^2", "sin(x)"}},
        {"mixed", "a\rb\nc\r\nd", {"a", "b", "c", "d"}},
        {"blank lines kept", "a\r\rb\r\n\r\nc\n\nd", {"a", "", "b", "", "c", "", "d"}},
        {"no line end at the end", "a\rb", {"a", "b"}},
        {"CR then CR LF", "a\r\r\n", {"a", ""}},
        {"empty", "", {}},
        {"tab, form feed, end-of-file mark: text", "a\tb\f\r\n\x1A", {"a\tb\f", "\x1A"}},
    };
    TempDir dir;
    const std::string path = dir.file("Bsp.txt");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WriteBytes(path, c.bytes);
        const TextFileContent content = ReadTextFile(path);
        EXPECT_EQ(content.cause, "");
        ASSERT_TRUE(content.lines.has_value());
        EXPECT_EQ(*content.lines, c.lines);
    }
}

} // namespace
} // namespace kurvex
