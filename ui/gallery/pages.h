#pragma once

#include <QString>

#include <vector>

class QWidget;

using GalleryPageFactory = QWidget* (*)();

struct GalleryPage {
    QString slug;   // file name of its screenshot
    QString title;  // shown in the page list
    GalleryPageFactory create;
};

// The pages in the order pages.cpp lists them.
const std::vector<GalleryPage>& gallery_pages();

bool register_gallery_page(const char* slug, const char* title, GalleryPageFactory create);
