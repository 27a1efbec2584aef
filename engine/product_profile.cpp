#include "engine/product_profile.h"

#include "sys/ascii_text.h"

ProductFamily choose_product_family(const std::string& title) {
    // Order matters: "quenmora se" must win over "quenmora".
    static const struct {
        const char* test;
        ProductFamily family;
    } kFamilies[] = {
        {"quenmora se", {"Quenmora 3.0 SE", 7, 0xFFBA5912, 163}},
        {"quenmora", {"Quenmora", 6, 0xFF6184B4, 163}},
        {"selvanta", {"Selvanta", 8, 0xFF3B455B, 163}},
        {"dravi", {"Dravi", 9, 0xFF20B2AE, 164}},
        {"nostrel", {"Nostrel", 10, 0xFFD68108, 163}},
    };
    const std::string lower = ascii_lower(title);
    for (const auto& f : kFamilies)
        if (lower.find(f.test) != std::string::npos) return f.family;
    return {"other", 11, 0xFFD3D3D3, 166};
}
