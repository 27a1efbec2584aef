#include "ui/gallery/pages.h"

static std::vector<GalleryPage>& page_registry()
{
    static std::vector<GalleryPage> pages;
    return pages;
}

const std::vector<GalleryPage>& gallery_pages()
{
    return page_registry();
}

bool register_gallery_page(const char* slug, const char* title, GalleryPageFactory create)
{
    page_registry().push_back({QString::fromUtf8(slug), QString::fromUtf8(title), create});
    return true;
}

// Declares a page's factory (defined in the page's own file) and registers it; static objects of one
// file are initialised in order, so the gallery lists its pages in the order of these lines.
#define GALLERY_PAGE(slug, title, factory) \
    QWidget* factory();                    \
    [[maybe_unused]] static const bool registered_##factory = register_gallery_page(slug, title, factory);

// One line per page.
GALLERY_PAGE("colour_theme", "Colour theme", MakeColourThemePage)
GALLERY_PAGE("list_ctrl", "List control", MakeListCtrlPage)
GALLERY_PAGE("message_box", "Message box", MakeMessageBoxPage)
GALLERY_PAGE("theme_dlg", "Themed dialog frame", MakeThemeDlgPage)
GALLERY_PAGE("button", "Button", MakeButtonPage)
GALLERY_PAGE("tab_ctrl", "Tab control", MakeTabPage)
GALLERY_PAGE("label", "Label and picture", MakeLabelPage)
GALLERY_PAGE("step_ctrl", "Step list", MakeStepPage)
GALLERY_PAGE("progress", "Progress bar and window", MakeProgressPage)
