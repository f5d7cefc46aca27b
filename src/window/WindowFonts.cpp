#include "window/WindowFonts.h"

#include <QStringList>

QFont GothicFont(qreal pointSize)
{
    QFont font;
    font.setFamilies({QStringLiteral("ＭＳ ゴシック"), QStringLiteral("MS Gothic"),
                      QStringLiteral("IPAGothic"), QStringLiteral("Noto Sans Mono CJK JP"),
                      QStringLiteral("VL Gothic"), QStringLiteral("TakaoGothic"),
                      QStringLiteral("Noto Sans CJK JP")});
    font.setStyleHint(QFont::TypeWriter);
    font.setPointSizeF(pointSize);
    font.setWeight(QFont::Normal);
    return font;
}
