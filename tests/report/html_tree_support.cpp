#include "tests/report/html_tree_support.h"

#include <cctype>
#include <cstdlib>
#include <set>

#include "sys/text_convert.h"

namespace {

const std::set<std::string> kVoidElements = {"meta", "br", "img", "input", "link", "hr"};
// Elements whose content is raw text up to their end tag.
const std::set<std::string> kRawTextElements = {"style", "script"};

class Reader {
public:
    explicit Reader(const std::string& page) : page(page) {}

    HtmlParse run() {
        HtmlParse result;
        result.root = std::make_unique<HtmlNode>();
        skip_doctype();
        read_children(*result.root, "");
        result.error = error;
        if (error.empty() && at < page.size())
            result.error = "text after the document at " + std::to_string(at);
        return result;
    }

private:
    bool fail(const std::string& what) {
        if (error.empty()) error = what + " at byte " + std::to_string(at);
        return false;
    }

    void skip_doctype() {
        const std::string doctype = "<!DOCTYPE html>";
        if (page.compare(0, doctype.size(), doctype) == 0) at = doctype.size();
    }

    bool decode(const std::string& raw, std::string& out) {
        for (size_t i = 0; i < raw.size(); ++i) {
            if (raw[i] == '<') return fail("raw < in text");
            if (raw[i] != '&') {
                out += raw[i];
                continue;
            }
            const size_t end = raw.find(';', i);
            if (end == std::string::npos || end - i > 10) return fail("bare &");
            const std::string name = raw.substr(i + 1, end - i - 1);
            if (name == "amp")
                out += '&';
            else if (name == "lt")
                out += '<';
            else if (name == "gt")
                out += '>';
            else if (name == "quot")
                out += '"';
            else if (name == "#39")
                out += '\'';
            else if (name.size() > 1 && name[0] == '#')
                append_utf8(out, static_cast<uint32_t>(std::strtoul(name.c_str() + 1, nullptr, 10)));
            else
                return fail("unknown reference &" + name + ";");
            i = end;
        }
        return true;
    }

    void add_text(HtmlNode& parent, const std::string& raw) {
        if (raw.empty()) return;
        auto node = std::make_unique<HtmlNode>();
        if (decode(raw, node->text)) parent.children.push_back(std::move(node));
    }

    // Reads children until the end tag of `tag` (or the end of the page for the document).
    void read_children(HtmlNode& parent, const std::string& tag) {
        while (error.empty()) {
            const size_t open = page.find('<', at);
            add_text(parent, page.substr(at, (open == std::string::npos ? page.size() : open) - at));
            if (open == std::string::npos) {
                at = page.size();
                if (!tag.empty()) fail("<" + tag + "> not closed");
                return;
            }
            at = open;
            if (page.compare(at, 2, "</") == 0) {
                const size_t close = page.find('>', at);
                if (close == std::string::npos) {
                    fail("unfinished end tag");
                    return;
                }
                const std::string name = page.substr(at + 2, close - at - 2);
                if (name != tag) {
                    fail("</" + name + "> closes <" + tag + ">");
                    return;
                }
                at = close + 1;
                return;
            }
            auto element = std::make_unique<HtmlNode>();
            const bool self_closed = read_start_tag(*element);
            if (!error.empty()) return;
            HtmlNode& child = *element;
            parent.children.push_back(std::move(element));
            if (self_closed || kVoidElements.count(child.tag)) continue;
            if (kRawTextElements.count(child.tag)) {
                const std::string end = "</" + child.tag + ">";
                const size_t close = page.find(end, at);
                if (close == std::string::npos) {
                    fail("<" + child.tag + "> not closed");
                    return;
                }
                auto text = std::make_unique<HtmlNode>();
                text->text = page.substr(at, close - at);
                child.children.push_back(std::move(text));
                at = close + end.size();
                continue;
            }
            read_children(child, child.tag);
        }
    }

    // True for a "/>" ending.
    bool read_start_tag(HtmlNode& element) {
        ++at;  // '<'
        const size_t name_end = page.find_first_of(" \t\n/>", at);
        if (name_end == std::string::npos || name_end == at) return fail("bad start tag");
        element.tag = page.substr(at, name_end - at);
        for (char c : element.tag)
            if (!std::isalnum(static_cast<unsigned char>(c))) return fail("bad tag name " + element.tag);
        at = name_end;
        while (at < page.size()) {
            while (at < page.size() && std::isspace(static_cast<unsigned char>(page[at]))) ++at;
            if (page.compare(at, 2, "/>") == 0) {
                at += 2;
                return true;
            }
            if (page[at] == '>') {
                ++at;
                return false;
            }
            const size_t eq = page.find('=', at);
            if (eq == std::string::npos) return fail("attribute without value");
            const std::string name = page.substr(at, eq - at);
            if (name.find_first_of(" <>\"'") != std::string::npos) return fail("bad attribute name " + name);
            const char quote = eq + 1 < page.size() ? page[eq + 1] : 0;
            if (quote != '"' && quote != '\'') return fail("unquoted attribute " + name);
            const size_t value_end = page.find(quote, eq + 2);
            if (value_end == std::string::npos) return fail("unfinished attribute " + name);
            std::string value;
            if (!decode(page.substr(eq + 2, value_end - eq - 2), value)) return false;
            element.attributes[name] = value;
            at = value_end + 1;
        }
        return fail("unfinished start tag");
    }

    const std::string& page;
    size_t at = 0;
    std::string error;
};

void collect(const HtmlNode& node, const std::string& tag, std::vector<const HtmlNode*>& out) {
    for (const auto& child : node.children) {
        if (child->tag == tag) out.push_back(child.get());
        collect(*child, tag, out);
    }
}

}  // namespace

std::string HtmlNode::inner_text() const {
    std::string out = text;
    for (const auto& child : children) out += child->inner_text();
    return out;
}

bool HtmlNode::has_class(const std::string& name) const {
    const auto it = attributes.find("class");
    if (it == attributes.end()) return false;
    const std::string padded = " " + it->second + " ";
    return padded.find(" " + name + " ") != std::string::npos;
}

std::vector<const HtmlNode*> HtmlNode::find_all(const std::string& tag) const {
    std::vector<const HtmlNode*> out;
    collect(*this, tag, out);
    return out;
}

const HtmlNode* HtmlNode::find_id(const std::string& id) const {
    for (const auto& child : children) {
        const auto it = child->attributes.find("id");
        if (it != child->attributes.end() && it->second == id) return child.get();
        if (const HtmlNode* found = child->find_id(id)) return found;
    }
    return nullptr;
}

HtmlParse parse_html(const std::string& page) {
    return Reader(page).run();
}
