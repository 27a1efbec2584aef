#pragma once

#include <QFont>
#include <QString>

// The Korean UI font: "맑은 고딕" when installed, else NanumGothic.
QString DefaultFontFamily();

// The UI font at a point size, optionally bold.
QFont DefaultFont(int point_size = 9, bool bold = false);
