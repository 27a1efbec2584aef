#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

// A strict reader of the pages we write, for tests: every element closed in order (void elements
// excepted), attribute values quoted, only the five markup references and numeric ones, no raw "<"
// or "&" in text. Anything else is a parse error, so a page whose escaping slipped fails to parse.
struct HtmlNode {
    std::string tag;  // empty for a text node
    std::map<std::string, std::string> attributes;
    std::string text;  // decoded, for a text node
    std::vector<std::unique_ptr<HtmlNode>> children;

    // All text below this node, in order.
    std::string inner_text() const;
    bool has_class(const std::string& name) const;
    // Every element below (not counting this one) with this tag, in document order.
    std::vector<const HtmlNode*> find_all(const std::string& tag) const;
    // The first element below with this id, or nullptr.
    const HtmlNode* find_id(const std::string& id) const;
};

struct HtmlParse {
    std::unique_ptr<HtmlNode> root;  // the document; its children are the doctype's siblings
    std::string error;               // empty when the page parsed
};

HtmlParse parse_html(const std::string& page);
