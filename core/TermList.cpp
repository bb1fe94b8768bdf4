// The term list of the guess-the-term game.
#include "core/TermList.h"

#include "core/term/Term.h"
#include "platform/IniFile.h"

#include <algorithm>

namespace kurvex {

std::string TermListKey(int number)
{
    return "f" + std::to_string(number) + "(x)";
}

TermList ReadTermList(const std::string& path)
{
    const IniFile file(path);
    TermList list;
    std::vector<std::string> refused;
    for (std::size_t family = 0; family < kTermFamilyCount; ++family) {
        const TermFamily& f = kTermFamilies[family];
        std::vector<std::string>& terms = list.terms[family];
        terms.reserve(static_cast<std::size_t>(f.count));
        for (int n = f.firstNumber; n < f.firstNumber + f.count; ++n) {
            const std::string key = TermListKey(n);
            const std::string term = TermFromUtf8(file.readString(f.section, key, ""));
            if (term.size() > kMaxListTermLength) {
                refused.push_back("[" + std::string(f.section) + "] " + key);
            }
            const bool usable = !term.empty() && term.size() <= kMaxListTermLength;
            terms.push_back(usable ? term : f.defaultTerm);
        }
    }
    if (!file.readOk()) {
        list.message = file.readError();
    }
    if (!refused.empty()) {
        if (!list.message.empty()) {
            list.message += "\n\n";
        }
        list.message += "Diese Terme in " + std::string(kTermListFileName) + " sind länger als " +
                        std::to_string(kMaxListTermLength) +
                        " Zeichen und werden nicht verwendet; an ihrer Stelle gilt der Standardterm "
                        "ihres Abschnitts:";
        // The first keys name the fault; a list of all 240 made a box far taller than the screen.
        const std::size_t listed = std::min(refused.size(), kListedRefusals);
        for (std::size_t i = 0; i < listed; ++i) {
            list.message += "\n" + refused[i];
        }
        if (refused.size() > listed) {
            list.message += "\n… und " + std::to_string(refused.size() - listed) + " weitere (" +
                            std::to_string(refused.size()) + " insgesamt)";
        }
    }
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
