// Term compiler: text normaliser, scanner, recursive-descent parser with the implicit "*" repair, messages.
#include "core/term/Term.h"

#include "core/term/TermInternal.h"
#include "platform/TextCodec.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <utility>

namespace kurvex {

namespace {

SyntaxErrorHandler& syntaxErrorHandler()
{
    static SyntaxErrorHandler handler;
    return handler;
}

bool isDigit(unsigned char c)
{
    return c >= '0' && c <= '9';
}

std::string replaceAll(std::string_view text, std::string_view what, std::string_view with)
{
    std::string result;
    result.reserve(text.size());
    std::size_t from = 0;
    for (std::size_t pos = text.find(what); pos != std::string_view::npos; pos = text.find(what, from)) {
        result.append(text.substr(from, pos - from)).append(with);
        from = pos + what.size();
    }
    result.append(text.substr(from));
    return result;
}

void setSyntaxError(int code)
{
    if (ParseError) {
        return;
    }
    ParseError = true;
    SyntaxErrorCode = code;
}

// A decimal text that does not fit a double: infinite when its leading digit stands above 10^0, else 0.
double outOfRangeValue(std::string_view text)
{
    const std::size_t expMark = text.find_first_of("eE");
    const std::string_view mantissa = text.substr(0, expMark);
    long exponent = 0;
    if (expMark != std::string_view::npos) {
        std::size_t i = expMark + 1;
        const bool negative = i < text.size() && text[i] == '-';
        if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
            ++i;
        }
        for (; i < text.size(); ++i) {
            exponent = std::min(exponent * 10 + (text[i] - '0'), 100000L);
        }
        if (negative) {
            exponent = -exponent;
        }
    }
    const std::size_t point = std::min(mantissa.find('.'), mantissa.size());
    const std::size_t firstNonZero = mantissa.find_first_of("123456789");
    if (firstNonZero == std::string_view::npos) {
        return 0.0;
    }
    // Decimal exponent of the leading digit.
    const long lead = firstNonZero < point ? long(point - firstNonZero) - 1 : -long(firstNonZero - point);
    return lead + exponent > 0 ? HUGE_VAL : 0.0;
}

// Characters some function name begins with; the others skip the table search.
constexpr std::array<bool, 256> kFunctionNameStarts = [] {
    std::array<bool, 256> starts{};
    for (const FunctionName& row : FunctionNameTable) {
        starts[static_cast<unsigned char>(row.Name.front())] = true;
    }
    return starts;
}();

bool startsAFunctionName(unsigned char c)
{
    return kFunctionNameStarts[c];
}

class Parser {
public:
    explicit Parser(std::string_view text) : text_(text), length_(int(text.size()))
    {
        scanPos_ = 0;
        current_ = ' ';
        nextChar();
    }

    int scanPos() const { return scanPos_; }

    // The whole text as one sum; on success the nodes end with the root.
    void parse(std::vector<TermNode>& nodes)
    {
        nodes_ = &nodes;
        parseSum();
        if (!ParseError && scanPos_ <= length_) {
            setSyntaxError(kSyntaxTextLeft);
        }
        if (!ParseError && maxStack_ > kEvalStackCapacity) {
            setSyntaxError(kSyntaxTooDeep);
        }
    }

private:
    // Counts nested parentheses, signs and functions; the guard ends the parse when they go too deep.
    class NestingGuard {
    public:
        explicit NestingGuard(Parser& parser) : parser_(parser)
        {
            if (++parser_.depth_ > kMaxTermNesting) {
                setSyntaxError(kSyntaxTooDeep);
            }
        }
        ~NestingGuard() { --parser_.depth_; }
        NestingGuard(const NestingGuard&) = delete;
        NestingGuard& operator=(const NestingGuard&) = delete;

    private:
        Parser& parser_;
    };

    void nextChar()
    {
        prev_ = current_;
        if (scanPos_ < length_) {
            ++scanPos_;
            current_ = static_cast<unsigned char>(text_[std::size_t(scanPos_ - 1)]);
        } else {
            scanPos_ = length_ + 1;
            current_ = 0;
        }
    }

    bool pastEnd() const { return scanPos_ > length_; }

    std::int32_t emit(std::uint16_t code, double value, std::int32_t left, std::int32_t right)
    {
        // Depth of the evaluation stack: a leaf adds a value, a two-operand node takes one away.
        if (left == kNoNode) {
            maxStack_ = std::max(maxStack_, ++stack_);
        } else if (right != kNoNode) {
            --stack_;
        }
        nodes_->push_back(TermNode{code, value, left, right});
        return std::int32_t(nodes_->size() - 1);
    }

    // operand { operator operand }, left-associative, with the operator characters first and second.
    std::int32_t parseChain(std::int32_t (Parser::*operand)(), unsigned char first, unsigned char second)
    {
        std::int32_t left = (this->*operand)();
        while (!ParseError && (current_ == first || current_ == second)) {
            const std::uint16_t code = current_;
            nextChar();
            const std::int32_t right = (this->*operand)();
            if (ParseError) {
                return kNoNode;
            }
            left = emit(code, 0.0, left, right);
        }
        return left;
    }

    std::int32_t parseSum() { return parseChain(&Parser::parseProduct, '+', '-'); }
    std::int32_t parseProduct() { return parseChain(&Parser::parsePower, '*', '/'); }
    std::int32_t parsePower() { return parseChain(&Parser::parseFactor, '^', '^'); }

    void expectCloseParen()
    {
        if (ParseError) {
            return;
        }
        if (current_ != ')') {
            setSyntaxError(kSyntaxMissingCloseParen);
            return;
        }
        nextChar();
    }

    bool signAllowed() const { return prev_ != '*' && prev_ != '+' && prev_ != '-' && prev_ != '/'; }

    const FunctionName* lookupFunction() const
    {
        if (pastEnd()) {
            return nullptr;
        }
        if (!startsAFunctionName(current_)) {
            return nullptr;
        }
        const std::string_view rest = text_.substr(std::size_t(scanPos_ - 1));
        for (const FunctionName& row : FunctionNameTable) {
            if (rest.starts_with(row.Name)) {
                return &row;
            }
        }
        return nullptr;
    }

    // Code of a one-letter leaf at the scan position under the current modes, or kNoLeaf.
    static constexpr int kNoLeaf = -1;
    int leafCode() const
    {
        if (pastEnd()) {
            return kNoLeaf;
        }
        switch (current_) {
        case 'x':
            return AllowVariables && !IntegrandMode && !SequenceMode ? kCodeX : kNoLeaf;
        case 't':
            return AllowVariables ? kCodeT : kNoLeaf;
        case 'w':
            return AllowVariables && IntegrandMode ? kCodeW : kNoLeaf;
        case 0xF0:
            return kCodePi;
        case 'e':
            return kCodeE;
        case 'a':
            return kCodeA;
        case 'b':
            return kCodeB;
        case 'c':
            return kCodeC;
        case 'd':
            return kCodeD;
        case 'n':
            return SequenceMode && !IntegrandMode ? kCodeN : kNoLeaf;
        default:
            return kNoLeaf;
        }
    }

    std::int32_t parseFactor()
    {
        if (current_ == '(' && !pastEnd()) {
            const NestingGuard guard(*this);
            if (ParseError) {
                return kNoNode;
            }
            nextChar();
            const std::int32_t inner = parseSum();
            expectCloseParen();
            return inner;
        }
        if ((current_ == '-' || current_ == '+') && !pastEnd() && signAllowed()) {
            const NestingGuard guard(*this);
            if (ParseError) {
                return kNoNode;
            }
            const bool negate = current_ == '-';
            nextChar();
            const std::int32_t operand = parsePower();
            if (ParseError || !negate) {
                return operand;
            }
            return emit(kCodeNeg, 0.0, operand, kNoNode);
        }
        if (const FunctionName* row = lookupFunction()) {
            const NestingGuard guard(*this);
            if (ParseError) {
                return kNoNode;
            }
            for (std::size_t i = 0; i < row->Name.size(); ++i) {
                nextChar();
            }
            if (current_ != '(' || pastEnd()) {
                setSyntaxError(kSyntaxMissingOpenParen);
                return kNoNode;
            }
            nextChar();
            const std::int32_t argument = parseSum();
            expectCloseParen();
            if (ParseError) {
                return kNoNode;
            }
            return emit(row->Code, 0.0, argument, kNoNode);
        }
        if (const int code = leafCode(); code != kNoLeaf) {
            nextChar();
            return emit(std::uint16_t(code), 0.0, kNoNode, kNoNode);
        }
        if (!pastEnd() && (isDigit(current_) || current_ == '.')) {
            return readNumber();
        }
        if (pastEnd()) {
            setSyntaxError(kSyntaxIncomplete);
        } else if (current_ == ')') {
            setSyntaxError(kSyntaxExtraCloseParen);
        } else {
            setSyntaxError(kSyntaxUnknownSymbol);
        }
        return kNoNode;
    }

    bool take(bool condition)
    {
        if (condition && !pastEnd()) {
            number_.push_back(char(current_));
            nextChar();
            return true;
        }
        return false;
    }

    std::int32_t readNumber()
    {
        number_.clear();
        while (take(isDigit(current_))) {
        }
        if (!number_.empty()) {
            take(current_ == '.');
        }
        while (take(isDigit(current_))) {
        }
        if (take(current_ == 'e' || current_ == 'E')) {
            take(current_ == '+' || current_ == '-');
            while (take(isDigit(current_))) {
            }
        }
        if (!number_.empty() && number_.back() == '.') {
            number_.back() = '#';
        }
        double value = 0.0;
        const char* first = number_.data();
        const char* last = first + number_.size();
        const auto [end, error] = std::from_chars(first, last, value, std::chars_format::general);
        if (number_.empty() || end != last ||
            (error != std::errc() && error != std::errc::result_out_of_range)) {
            setSyntaxError(kSyntaxBadNumber);
            return kNoNode;
        }
        if (error == std::errc::result_out_of_range) {
            value = outOfRangeValue(number_);
        }
        return emit(kCodeNumber, value, kNoNode, kNoNode);
    }

    std::string_view text_;
    int length_;
    int scanPos_ = 0;
    unsigned char current_ = ' ';
    unsigned char prev_ = ' ';
    int depth_ = 0;
    int stack_ = 0;
    int maxStack_ = 0;
    std::string number_;
    std::vector<TermNode>* nodes_ = nullptr;
};

// One pass of the parser; returns the scan position where it stopped.
int parseOnce(TermTree& tree, std::string_view text)
{
    ParseError = false;
    auto& nodes = TermTreeAccess::nodes(tree);
    nodes.clear();
    Parser parser(text);
    parser.parse(nodes);
    if (ParseError) {
        FreeTerm(tree);
    } else {
        BuildTermProgram(tree);
    }
    return parser.scanPos();
}

// Missing ")" and text left over are what the implicit "*" repairs; they are never shown.
bool repairable(int code)
{
    return code == kSyntaxMissingCloseParen || code == kSyntaxTextLeft;
}

} // namespace

void SetSyntaxErrorHandler(SyntaxErrorHandler handler)
{
    syntaxErrorHandler() = std::move(handler);
}

std::string NormalizeTerm(std::string_view text)
{
    const std::size_t brace = std::min(text.find('{'), text.size());
    std::string result;
    result.reserve(text.size());
    for (const char c : text.substr(0, brace)) {
        if (c == ' ') {
            continue;
        }
        result.push_back(c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c);
    }
    result = replaceAll(replaceAll(result, "pi", "\xF0"), "phi", "\xD6");
    for (char& c : result) {
        if (c == ',') {
            c = '.';
        }
    }
    result.append(text.substr(brace));
    return result;
}

TermTree ParseTerm(std::string_view text)
{
    SyntaxErrorCode = kSyntaxNoError;
    StarCount = 0;
    TermTree tree;
    const int stopPos = parseOnce(tree, text);
    if (ParseError && !repairable(SyntaxErrorCode)) {
        ShowSyntaxError(stopPos);
    }
    return tree;
}

bool CompileTerm(TermTree& tree, std::string_view text, bool allowVariables)
{
    AllowVariables = allowVariables;
    std::string source = NormalizeTerm(text);
    if (source.empty()) {
        source.push_back('0');
    }
    if (const std::size_t brace = source.find('{'); brace != std::string::npos && brace > 0) {
        source.resize(brace);
    }
    StarCount = 0;
    int stopPos = 0;
    for (;;) {
        SyntaxErrorCode = kSyntaxNoError;
        FreeTerm(tree);
        stopPos = parseOnce(tree, source);
        if (!repairable(SyntaxErrorCode)) {
            break;
        }
        source.insert(std::size_t(stopPos - 1), 1, '*');
        ++StarCount;
    }
    const bool ok = !ParseError;
    EvalOk = ok;
    // The message comes last: a message box runs an event loop, and whatever it lets run (even another
    // compilation) finds this one finished.
    if (!ok) {
        ShowSyntaxError(stopPos - StarCount);
    }
    return ok;
}

void FreeTerm(TermTree& tree)
{
    TermTreeAccess::nodes(tree).clear();
    TermTreeAccess::program(tree).clear();
}

bool CompileTermSilently(TermTree& tree, std::string_view text, bool allowVariables)
{
    // The handler is put back even when compiling throws (out of memory).
    struct HandlerAside {
        SyntaxErrorHandler saved = std::exchange(syntaxErrorHandler(), nullptr);
        ~HandlerAside() { syntaxErrorHandler() = std::move(saved); }
    } aside;
    return CompileTerm(tree, text, allowVariables);
}

void ShowSyntaxError(int position)
{
    SyntaxErrorPos = position;
    // A copy, so that a handler may install another one while it runs.
    const SyntaxErrorHandler handler = syntaxErrorHandler();
    if (!handler) {
        return;
    }
    const std::size_t index = std::size_t(SyntaxErrorCode);
    const std::string_view reason =
        index < SyntaxErrorTexts.size() ? SyntaxErrorTexts[index] : std::string_view();
    handler(SyntaxErrorCode, "Syntaxfehler: " + std::string(reason), position);
}

void ShowTermTooLong(std::size_t limit)
{
    SyntaxErrorPos = static_cast<int>(limit) + 1;
    const SyntaxErrorHandler handler = syntaxErrorHandler();
    if (!handler) {
        return;
    }
    handler(kTermTooLong,
            "Der Term ist zu lang: h\xF6"
            "chstens " +
                std::to_string(limit) + " Zeichen.",
            SyntaxErrorPos);
}

std::string TermFromUtf8(std::string_view utf8)
{
    std::string mapped;
    mapped.reserve(utf8.size());
    constexpr std::string_view kPi = "\xCF\x80", kPiByte = "\xC3\xB0";   // π -> U+00F0
    constexpr std::string_view kPhi = "\xCE\xA6", kPhiByte = "\xC3\x96"; // Φ -> U+00D6
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const std::string_view rest = utf8.substr(i);
        if (rest.starts_with(kPi) || rest.starts_with(kPhi)) {
            mapped += rest.starts_with(kPi) ? kPiByte : kPhiByte;
            ++i;
        } else {
            mapped += utf8[i];
        }
    }
    return Utf8ToCp1252(mapped);
}

std::string TermToUtf8(std::string_view cp1252)
{
    std::string out;
    out.reserve(cp1252.size() + 8);
    for (const char ch : cp1252) {
        if (ch == '\xF0') {
            out += "\xCF\x80";
        } else if (ch == '\xD6') {
            out += "\xCE\xA6";
        } else {
            out += Cp1252ToUtf8(std::string_view(&ch, 1));
        }
    }
    return out;
}

void InitParser()
{
    ParsedTerm = ParseTerm("0");
    ParsedTerm2 = ParseTerm("0");
    ParsedNumber = ParseTerm("0");
}

void DoneParser()
{
    FreeTerm(ParsedTerm);
    FreeTerm(ParsedTerm2);
    FreeTerm(ParsedNumber);
}

} // namespace kurvex
