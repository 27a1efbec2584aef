// ui-gallery: browse the control library's pages, or with --screenshot DIR write each page as DIR/<slug>.png.
#include "ui/gallery/pages.h"
#include "ui/ui_init.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QHBoxLayout>
#include <QListWidget>
#include <QStackedWidget>

#include <cstdio>

namespace {

int WriteScreenshots(const QString& dir_path)
{
    QDir dir(dir_path);
    if (!dir.mkpath(QStringLiteral("."))) {
        std::fprintf(stderr, "cannot create %s\n", qPrintable(dir_path));
        return 1;
    }
    int failures = 0;
    for (const GalleryPage& page : gallery_pages()) {
        QWidget* widget = page.create();
        widget->setAttribute(Qt::WA_DontShowOnScreen);
        widget->show();
        widget->resize(widget->sizeHint().expandedTo(QSize(200, 100)));
        // Let first-shown work (timers of zero, layouts) settle before grabbing.
        QApplication::processEvents();
        QApplication::processEvents();
        const QString path = dir.filePath(page.slug + QStringLiteral(".png"));
        if (!widget->grab().save(path)) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
            ++failures;
        }
        delete widget;
    }
    return failures == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    InitControlLibrary();
    QApplication::setApplicationName(QStringLiteral("ui-gallery"));

    QCommandLineParser parser;
    parser.addHelpOption();
    const QCommandLineOption screenshot(QStringLiteral("screenshot"), QStringLiteral("Write every page as a PNG into DIR."),
                                        QStringLiteral("DIR"));
    parser.addOption(screenshot);
    parser.process(app);
    if (parser.isSet(screenshot))
        return WriteScreenshots(parser.value(screenshot));

    QWidget window;
    window.setWindowTitle(QStringLiteral("Control gallery"));
    auto* layout = new QHBoxLayout(&window);
    auto* list = new QListWidget;
    auto* stack = new QStackedWidget;
    list->setFixedWidth(180);
    for (const GalleryPage& page : gallery_pages()) {
        list->addItem(page.title);
        stack->addWidget(page.create());
    }
    layout->addWidget(list);
    layout->addWidget(stack, 1);
    QObject::connect(list, &QListWidget::currentRowChanged, stack, &QStackedWidget::setCurrentIndex);
    list->setCurrentRow(0);
    window.resize(1000, 700);
    window.show();
    return app.exec();
}
