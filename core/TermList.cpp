// The term list of the guess-the-term game.
#include "core/TermList.h"

#include "core/term/Term.h"
#include "platform/IniFile.h"
#include "platform/TextCodec.h"

#include <algorithm>

namespace kurvex {

std::string TermListKey(int number)
{
    return "f" + std::to_string(number) + "(x)";
}

namespace {

// The compiler's reason for the last syntax error, without its trailing blank.
std::string syntaxReason()
{
    const auto code = static_cast<std::size_t>(SyntaxErrorCode);
    std::string reason =
        code < SyntaxErrorTexts.size() ? Cp1252ToUtf8(SyntaxErrorTexts[code]) : std::string();
    while (!reason.empty() && reason.back() == ' ') {
        reason.pop_back();
    }
    return reason.empty() ? "Syntaxfehler" : reason;
}

void appendParagraph(std::string& message, const std::string& paragraph)
{
    if (paragraph.empty()) {
        return;
    }
    if (!message.empty()) {
        message += "\n\n";
    }
    message += paragraph;
}

// The heading and the first keys; a list of all 240 made a box far taller than the screen. Empty
// when nothing was refused.
std::string refusalParagraph(const std::string& heading, const std::vector<std::string>& keys)
{
    if (keys.empty()) {
        return {};
    }
    std::string paragraph = heading;
    const std::size_t listed = std::min(keys.size(), kListedRefusals);
    for (std::size_t i = 0; i < listed; ++i) {
        paragraph += "\n" + keys[i];
    }
    if (keys.size() > listed) {
        paragraph += "\n… und " + std::to_string(keys.size() - listed) + " weitere (" +
                     std::to_string(keys.size()) + " insgesamt)";
    }
    return paragraph;
}

} // namespace

TermList ReadTermList(const std::string& path)
{
    const IniFile file(path);
    TermList list;
    std::vector<std::string> refused;
    std::vector<std::string> invalid;
    for (std::size_t family = 0; family < kTermFamilyCount; ++family) {
        const TermFamily& f = kTermFamilies[family];
        std::vector<std::string>& terms = list.terms[family];
        terms.reserve(static_cast<std::size_t>(f.count));
        for (int n = f.firstNumber; n < f.firstNumber + f.count; ++n) {
            const std::string key = TermListKey(n);
            const std::string value = file.readString(f.section, key, "");
            const std::string term = TermFromUtf8(value);
            const std::string where = "[" + std::string(f.section) + "] " + key;
            bool usable = !term.empty();
            if (term.size() > kMaxListTermLength) {
                refused.push_back(where);
                usable = false;
            }
            // A term that does not compile would only say "Syntaxfehler" when it is drawn, with
            // nothing to tell the teacher which line of the file to mend.
            TermTree tree;
            if (usable && !CompileTermSilently(tree, term, true)) {
                invalid.push_back(where + "=" + value + " (" + syntaxReason() + ")");
                usable = false;
            }
            terms.push_back(usable ? term : f.defaultTerm);
        }
    }
    if (!file.readOk()) {
        list.message = file.readError();
    }
    const std::string instead = "; an ihrer Stelle gilt der Standardterm ihres Abschnitts:";
    appendParagraph(list.message, refusalParagraph("Diese Terme in \"" + path + "\" sind länger als " +
                                                       std::to_string(kMaxListTermLength) +
                                                       " Zeichen und werden nicht verwendet" + instead,
                                                   refused));
    appendParagraph(list.message,
                    refusalParagraph("Diese Terme in \"" + path +
                                         "\" sind fehlerhaft und werden nicht verwendet" + instead,
                                     invalid));
    return list;
}

std::size_t DrawTermIndex(std::size_t count, std::mt19937& generator)
{
    if (count == 0) {
        return 0;
    }
    std::uniform_int_distribution<std::size_t> pick(0, count - 1);
    return pick(generator);
}

} // namespace kurvex
