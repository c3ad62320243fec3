// Parses item filter texts. Grammar (keywords in any case):
//   or := and { OR and }   and := unary { AND unary }   unary := NOT unary | '(' or ')' | cmp
//   cmp := '[' property ']' op value   op := = <> < <= > >=   value := "..." | '...' | word
#include "platform/host/FilterExpression.h"

#include "platform/host/DateText.h"
#include "platform/log/Log.h"
#include "platform/text/AsciiText.h"
#include "platform/text/UnicodeText.h"

#include <cerrno>
#include <cstdlib>

namespace velmora::host {

namespace {

const char* kindName(int itemType) {
    switch (itemType) {
    case olMailItem:
        return "mail";
    case olAppointmentItem:
        return "appointment";
    case olContactItem:
        return "contact";
    case olTaskItem:
        return "task";
    case olJournalItem:
        return "journal";
    case olNoteItem:
        return "note";
    case olPostItem:
        return "post";
    }
    return "unknown";
}

struct Token {
    enum Kind { End, Property, String, Word, Op, LParen, RParen } kind = End;
    std::string text;
    FilterOp op = FilterOp::Eq;
    std::size_t pos = 0; // 1-based
};

class Parser {
  public:
    Parser(const std::string& filter, int itemType) : src_(filter), itemType_(itemType) {}

    std::shared_ptr<const FilterExpression> run() {
        if (text::trim(src_).empty()) fail("the filter is empty", 1);
        advance();
        const int root = parseOr();
        if (tok_.kind != Token::End)
            fail(tok_.kind == Token::RParen ? "a \")\" without its \"(\""
                                            : "unexpected \"" + tok_.text + "\"",
                 tok_.pos);
        return std::make_shared<const FilterExpression>(std::move(nodes_), root);
    }

  private:
    [[noreturn]] void fail(const std::string& what, std::size_t pos) const {
        throw HostError("Cannot parse the filter \"" + src_ + "\": " + what + " at position " +
                        std::to_string(pos));
    }

    bool isKeyword(const char* word) const {
        return tok_.kind == Token::Word && text::iequals(tok_.text, word);
    }

    int add(FilterNode node) {
        nodes_.push_back(std::move(node));
        return static_cast<int>(nodes_.size()) - 1;
    }

    // Operands read by next, joined by the keyword: "or" binds looser than "and". The chain
    // leans right ("a Or (b Or c)"), which the evaluation walks in a loop however long it is.
    int parseChain(const char* keyword, FilterNode::Kind kind, int (Parser::*next)()) {
        std::vector<int> operands{(this->*next)()};
        while (isKeyword(keyword)) {
            advance();
            operands.push_back((this->*next)());
        }
        int right = operands.back();
        for (auto left = operands.rbegin() + 1; left != operands.rend(); ++left) {
            FilterNode n;
            n.kind = kind;
            n.left = *left;
            n.right = right;
            right = add(std::move(n));
        }
        return right;
    }

    int parseOr() { return parseChain("or", FilterNode::Or, &Parser::parseAnd); }
    int parseAnd() { return parseChain("and", FilterNode::And, &Parser::parseUnary); }

    int parseUnary() {
        const bool negated = isKeyword("not");
        if (!negated && tok_.kind != Token::LParen) return parseComparison();
        // Each Not and "(" is a level of this parse and of every evaluation, so the depth is
        // bounded before it can exhaust the stack.
        if (depth_ == kMaxDepth)
            fail("Not and \"(\" nest more than " + std::to_string(kMaxDepth) + " levels deep",
                 tok_.pos);
        ++depth_;
        const int node = negated ? parseNot() : parseParenthesised();
        --depth_;
        return node;
    }

    int parseNot() {
        advance();
        FilterNode n;
        n.kind = FilterNode::Not;
        n.left = parseUnary();
        return add(std::move(n));
    }

    int parseParenthesised() {
        const std::size_t open = tok_.pos;
        advance();
        const int inner = parseOr();
        if (tok_.kind != Token::RParen)
            fail("the \"(\" at position " + std::to_string(open) + " is not closed", tok_.pos);
        advance();
        return inner;
    }

    int parseComparison() {
        if (tok_.kind != Token::Property)
            fail(tok_.kind == Token::End ? "a [property] comparison is missing"
                                         : "expected a [property] but found \"" + tok_.text + "\"",
                 tok_.pos);
        const Token prop = tok_;
        const auto& catalog = PropertyCatalog::instance();
        const int slot = catalog.find(prop.text);
        if (slot < 0) fail("unknown property [" + prop.text + "]", prop.pos);
        if (!catalog.applies(slot, itemType_))
            fail("property [" + prop.text + "] does not belong to " + kindName(itemType_) +
                     " items",
                 prop.pos);
        advance();
        if (tok_.kind != Token::Op)
            fail("expected an operator (= <> < <= > >=) after [" + prop.text + "]", tok_.pos);
        const FilterOp op = tok_.op;
        advance();
        if (tok_.kind != Token::String && tok_.kind != Token::Word)
            fail("expected a value after the operator", tok_.pos);
        if (tok_.kind == Token::Word && (isKeyword("and") || isKeyword("or") || isKeyword("not")))
            fail("expected a value but found \"" + tok_.text + "\"", tok_.pos);
        const Token value = tok_;
        advance();

        FilterNode n;
        n.kind = FilterNode::Compare;
        n.slot = slot;
        n.op = op;
        n.type = catalog.def(slot).type;
        const std::string what = "\"" + value.text + "\" for [" + prop.text + "]";
        switch (n.type) {
        case PropType::Text:
            n.text = velmora::text::foldCase(value.text);
            break;
        case PropType::Number: {
            const std::string t(text::trim(value.text));
            char* end = nullptr;
            errno = 0;
            n.number = std::strtol(t.c_str(), &end, 10);
            if (t.empty() || errno != 0 || !end || *end != '\0')
                fail(what + " is not a whole number", value.pos);
            break;
        }
        case PropType::Flag: {
            const std::string t = text::lower(text::trim(value.text));
            if (t == "true" || t == "yes" || t == "1" || t == "-1")
                n.flag = true;
            else if (t == "false" || t == "no" || t == "0")
                n.flag = false;
            else
                fail(what + " is not True or False", value.pos);
            break;
        }
        case PropType::Date: {
            const auto d = parseFilterDate(value.text);
            if (!d)
                fail(what + " is not a date in the form MM/DD/YYYY or MM/DD/YYYY HH:MM", value.pos);
            n.date = d->when;
            n.dateHasSeconds = d->hasSeconds;
            break;
        }
        }
        return add(std::move(n));
    }

    void advance() {
        while (at_ < src_.size() &&
               (src_[at_] == ' ' || src_[at_] == '\t' || src_[at_] == '\r' || src_[at_] == '\n'))
            ++at_;
        tok_ = Token{};
        tok_.pos = at_ + 1;
        if (at_ >= src_.size()) return;
        const char c = src_[at_];
        if (c == '[') {
            const std::size_t close = src_.find(']', at_);
            if (close == std::string::npos) fail("the \"[\" is not closed by \"]\"", at_ + 1);
            tok_.kind = Token::Property;
            tok_.text = std::string(text::trim(src_.substr(at_ + 1, close - at_ - 1)));
            if (tok_.text.empty()) fail("an empty property name \"[]\"", at_ + 1);
            at_ = close + 1;
        } else if (c == '"' || c == '\'') {
            // A doubled quote inside the value stands for one quote character.
            tok_.kind = Token::String;
            std::size_t i = at_ + 1;
            for (;;) {
                if (i >= src_.size())
                    fail(std::string("the value's opening ") + c + " is not closed", at_ + 1);
                if (src_[i] == c) {
                    if (i + 1 < src_.size() && src_[i + 1] == c) {
                        tok_.text += c;
                        i += 2;
                        continue;
                    }
                    break;
                }
                tok_.text += src_[i++];
            }
            at_ = i + 1;
        } else if (c == '(' || c == ')') {
            tok_.kind = c == '(' ? Token::LParen : Token::RParen;
            tok_.text = c;
            ++at_;
        } else if (c == '=' || c == '<' || c == '>') {
            tok_.kind = Token::Op;
            const char n = at_ + 1 < src_.size() ? src_[at_ + 1] : '\0';
            if (c == '<' && n == '>')
                tok_.op = FilterOp::Ne;
            else if (c == '<' && n == '=')
                tok_.op = FilterOp::Le;
            else if (c == '>' && n == '=')
                tok_.op = FilterOp::Ge;
            else
                tok_.op = c == '=' ? FilterOp::Eq : c == '<' ? FilterOp::Lt : FilterOp::Gt;
            const bool two = (c == '<' && (n == '>' || n == '=')) || (c == '>' && n == '=');
            tok_.text = src_.substr(at_, two ? 2 : 1);
            at_ += two ? 2 : 1;
        } else {
            std::size_t i = at_;
            while (i < src_.size() &&
                   std::string_view(" \t\r\n[]()=<>\"'").find(src_[i]) == std::string_view::npos)
                ++i;
            if (i == at_) fail(std::string("unexpected character \"") + c + "\"", at_ + 1);
            tok_.kind = Token::Word;
            tok_.text = src_.substr(at_, i - at_);
            at_ = i;
        }
    }

    static constexpr int kMaxDepth = 100;

    const std::string& src_;
    int itemType_;
    int depth_ = 0; // Not and "(" around the token
    std::size_t at_ = 0;
    Token tok_;
    std::vector<FilterNode> nodes_;
};

} // namespace

std::shared_ptr<const FilterExpression> FilterParser::parse(const std::string& filter,
                                                            int itemType) {
    try {
        return Parser(filter, itemType).run();
    } catch (const std::exception& e) {
        // A refused filter is a search that found nothing for the user: keep why.
        log::warn("filter", e.what());
        throw;
    }
}

} // namespace velmora::host
