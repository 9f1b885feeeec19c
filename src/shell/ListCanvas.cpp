#include "shell/ListCanvas.h"

#include "platform/ArchivePixmap.h"
#include "platform/Cp1252.h"
#include "search/ResultPage.h"
#include "store/Keywords.h"
#include "ui/AppState.h"
#include "ui/Colours.h"
#include "ui/MessageCatalog.h"

#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QWidget>

#include <algorithm>
#include <charconv>
#include <cmath>

namespace lumo {

namespace geo {
bool InListArea(int x, int y) {
    return x >= 0 && x < ScrollBarX && y >= ListTop && y < BottomPanelY;
}

int RowFromY(int y) {
    int row = 1;
    if (y > FirstRowY)
        row = static_cast<int>(std::lround((y - 46) / 17.0));
    return std::clamp(row, 1, 17);
}

ResultColumn ResultColumnAt(int x) {
    if (x < 150)
        return ResultColumn::Box;
    if (x > 205 && x < 320)
        return ResultColumn::SlideNumber;
    if (x > 320)
        return ResultColumn::Text;
    return ResultColumn::None;
}

bool OnResultText(int x) {
    return x > 320;
}

int LevelAt(int x) {
    if (x < 250)
        return 1;
    if (x > 250 && x < 450)
        return 2;
    if (x > 450 && x < 650)
        return 3;
    return 0;
}
} // namespace geo

void SetLabelColours(QLabel* label, const QColor& background, const QColor& text) {
    QPalette pal = label->palette();
    if (background.isValid())
        pal.setColor(QPalette::Window, background);
    pal.setColor(QPalette::WindowText, text);
    label->setPalette(pal);
}

namespace {

QString Q(const char* utf8) {
    return QString::fromUtf8(utf8);
}

// "007" -> "7"; text that is not a number is kept as it is (trimmed).
std::string NumberText(std::string_view field) {
    size_t b = field.find_first_not_of(' ');
    size_t e = field.find_last_not_of(' ');
    if (b == std::string_view::npos)
        return {};
    field = field.substr(b, e - b + 1);
    long value = 0;
    auto [ptr, ec] = std::from_chars(field.data(), field.data() + field.size(), value);
    if (ec != std::errc() || ptr != field.data() + field.size())
        return std::string(field);
    return std::to_string(value);
}

// A level cursor label: reports presses to the main window.
class LevelCursorLabel : public QLabel {
public:
    LevelCursorLabel(QWidget* parent, std::function<void(Qt::MouseButton, QPoint)> onPress)
        : QLabel(parent), onPress_(std::move(onPress)) {}

protected:
    void mousePressEvent(QMouseEvent* e) override {
        onPress_(e->button(), mapToParent(e->position().toPoint()));
    }

private:
    std::function<void(Qt::MouseButton, QPoint)> onPress_;
};

} // namespace

QFont ListCanvas::ListFont() {
    QFont f(QStringLiteral("Liberation Sans"));
    f.setPixelSize(13);
    f.setBold(true);
    return f;
}

ListCanvas::ListCanvas(AppState& state, MessageCatalog& messages, QWidget* client,
                       CursorPress onPress)
    : state_(state), messages_(messages), client_(client),
      canvas_(geo::ClientWidth, geo::ClientHeight), listFont_(ListFont()) {
    canvas_.fill(Qt::black);

    // The background picture with the three title labels.
    picture_ = new QLabel(client_);
    picture_->setObjectName(QStringLiteral("backgroundPicture"));
    picture_->setGeometry(0, geo::ToolBarHeight, geo::ClientWidth,
                          geo::BottomPanelY - geo::ToolBarHeight);
    picture_->setScaledContents(true);
    picture_->setAutoFillBackground(true);

    QFont f1(QStringLiteral("Liberation Serif"));
    f1.setPixelSize(64);
    f1.setBold(true);
    f1.setItalic(true);
    auto* label1 = new QLabel(QStringLiteral("Lumoretta"), client_);
    label1->setObjectName(QStringLiteral("titleLabel"));
    label1->setFont(f1);
    label1->setGeometry(0, 70, geo::ClientWidth, 80);
    label1->setAlignment(Qt::AlignCenter);
    QFont f2(QStringLiteral("Liberation Serif"));
    f2.setPixelSize(48);
    f2.setBold(true);
    auto* label2 = new QLabel(QStringLiteral("Version 3.0"), client_);
    label2->setObjectName(QStringLiteral("versionLabel"));
    label2->setFont(f2);
    label2->setGeometry(0, 160, geo::ClientWidth, 60);
    label2->setAlignment(Qt::AlignCenter);
    SetLabelColours(label2, QColor(), colour::Red);
    auto* label3 = new QLabel(QStringLiteral("Dia-Archivverwaltung"), client_);
    label3->setObjectName(QStringLiteral("subtitleLabel"));
    label3->setGeometry(0, 250, geo::ClientWidth, 24);
    label3->setAlignment(Qt::AlignCenter);
    QFont f3 = listFont_;
    f3.setPixelSize(18);
    label3->setFont(f3);
    SetLabelColours(label3, QColor(), Qt::white);
    titleLabels_ = {label1, label2, label3};

    for (int l = 0; l < 3; ++l) {
        auto* h = new QLabel(QStringLiteral("Stichwortebene <%1>").arg(l + 1), client_);
        h->setObjectName(QStringLiteral("levelHeading%1").arg(l + 1));
        h->move(geo::LevelX[l], geo::HeadingY);
        h->adjustSize();
        h->hide();
        SetLabelColours(h, QColor(), Qt::white);
        levelHeadings_[l] = h;

        const int level = l + 1;
        auto* k = new LevelCursorLabel(
            client_, [onPress, level](Qt::MouseButton b, QPoint pos) { onPress(level, b, pos); });
        k->setObjectName(QStringLiteral("levelCursor%1").arg(level));
        k->setAutoFillBackground(true);
        k->hide();
        levelCursors_[l] = k;
    }
}

void ListCanvas::RestoreStartScreen() {
    pictureVisible_ = true;
    picture_->setEnabled(true);
    picture_->show();
    for (auto* l : titleLabels_)
        l->show();
    for (auto* l : levelHeadings_)
        l->hide();
    for (auto* l : levelCursors_)
        l->hide();
}

void ListCanvas::ClearArea(const QColor& colour, int x1, int y1, int x2, int y2) {
    state_.page.clear();
    listBackground_ = colour;
    pictureVisible_ = false;
    picture_->setEnabled(false);
    picture_->hide();
    for (auto* l : levelHeadings_)
        l->hide();
    for (auto* l : titleLabels_)
        l->hide();
    for (auto* l : levelCursors_)
        l->hide();
    {
        QPainter p(&canvas_);
        p.fillRect(QRect(QPoint(x1, y1), QPoint(x2, y2)), colour);
    }
    redraw();
    client_->update();
}

void ListCanvas::ShowLevelHeaders(int level) {
    for (int l = 0; l < 3; ++l) {
        QLabel* h = levelHeadings_[l];
        const QColor fg = (l + 1 == level) ? colour::Red : QColor(Qt::white);
        if (h->palette().color(QPalette::WindowText) != fg) {
            SetLabelColours(h, QColor(), fg);
            h->update();
        }
        if (!h->isVisible() || h->isHidden())
            h->show();
    }
}

void ListCanvas::ShowResultPage(int first) {
    ClearArea(Qt::black, 0, 50, 640, 354);
    const auto& list = state_.searchResultList;
    for (int r = 1; r <= kPageRows; ++r) {
        const int64_t i = static_cast<int64_t>(first) + r;
        if (i > state_.foundCount || i > static_cast<int64_t>(list.size()) || i < 1)
            break;
        const std::string& line = list[static_cast<size_t>(i - 1)];
        auto field = [&line](size_t pos, size_t len) -> std::string {
            return pos < line.size() ? line.substr(pos, len) : std::string();
        };
        ResultRow& row = state_.page.rows[static_cast<size_t>(r - 1)];
        row.box = NumberText(field(0, 3));
        row.slide = NumberText(field(3, 5));
        row.code = field(8, 3);
        row.text = field(11, 34);
    }
    RepaintNow();
}

void ListCanvas::RepaintNow() {
    redraw();
    client_->repaint();
}

void ListCanvas::redraw() {
    if (state_.paintLock)
        return;
    {
        QPainter p(&canvas_);
        p.fillRect(canvas_.rect(), listBackground_);
        paint(p);
    }
    if (paintProblem_) {
        const Problem problem = paintProblem_;
        paintProblem_ = {};
        messages_.Report(problem);
    }
}

void ListCanvas::PaintResultRow(int r) {
    if (r < 1 || r > kPageRows)
        return;
    const int y = geo::FirstRowY + geo::RowPitch * (r - 1);
    {
        QPainter p(&canvas_);
        p.fillRect(QRect(geo::ColBox, y, geo::ScrollBarX - geo::ColBox, geo::RowPitch),
                   listBackground_);
        drawResultRow(p, y, state_.page.rows[static_cast<size_t>(r - 1)]);
    }
    client_->update(0, y, geo::ClientWidth, geo::RowPitch);
}

void ListCanvas::DrawResultHeadings() {
    {
        QPainter p(&canvas_);
        drawResultHeadings(p);
    }
    client_->update(0, geo::HeadingY, geo::ClientWidth, geo::RowPitch);
}

void ListCanvas::SetBackgroundBlack() {
    listBackground_ = Qt::black;
    canvas_.fill(Qt::black);
    client_->update();
}

void ListCanvas::ClearLevelCursors() {
    for (auto* l : levelCursors_) {
        l->setText(QString());
        l->hide();
    }
}

void ListCanvas::RecolourLevelCursors(const QColor& background, const QColor& text) {
    for (auto* l : levelCursors_) {
        SetLabelColours(l, background, text);
        l->update();
    }
}

void ListCanvas::HideLevelCursorsForMove() {
    for (auto* l : levelCursors_) {
        l->hide();
        l->setText(QStringLiteral(" "));
    }
}

void ListCanvas::BlackOut(int x1, int y1, int x2, int y2) {
    QPainter p(&canvas_);
    p.fillRect(QRect(QPoint(x1, y1), QPoint(x2, y2)), Qt::black);
}

void ListCanvas::LoadBackgroundPicture() {
    const auto path = state_.archive.resolve(state_.settings.pictureName);
    LoadPixmap(path, background_);
    // A picture that cannot be loaded keeps the one shown before (or the black area).
    picture_->setPixmap(background_);
}

void ListCanvas::SetVersionText(const QString& text) {
    titleLabels_[1]->setText(text);
}

// ---------------------------------------------------------------------------------------
// Painting

void ListCanvas::drawText(QPainter& p, int x, int y, const QString& text, const QColor& colour,
                          bool fillRow) {
    p.setFont(listFont_);
    const QFontMetrics fm(listFont_);
    if (fillRow) // what trailing blanks did: wipe what an earlier page left in the row
        p.fillRect(QRect(x, y, geo::ScrollBarX - x, geo::RowPitch), listBackground_);
    p.setPen(colour);
    p.drawText(x, y + fm.ascent(), text);
}

void ListCanvas::drawResultRow(QPainter& p, int y, const ResultRow& row) {
    drawText(p, geo::ColBox, y, FromCp1252(row.box), Qt::white);
    drawText(p, geo::ColSlide, y, FromCp1252(row.slide), colour::Aqua);
    drawText(p, geo::ColCode, y, FromCp1252(row.code), colour::Red);
    drawText(p, geo::ColText, y, FromCp1252(row.text),
             row.text == kFreeSlotRemainder ? QColor(Qt::white) : colour::Lime);
}

void ListCanvas::drawResultHeadings(QPainter& p) {
    drawText(p, geo::HeadBoxX, geo::HeadingY, Q("Kasten-Nummer"), colour::Yellow);
    drawText(p, geo::HeadSlideX, geo::HeadingY, Q("Dia-Nummer"), colour::Yellow);
    drawText(p, geo::HeadTextX, geo::HeadingY, Q("Dia-Informationstext"), colour::Yellow);
}

void ListCanvas::applyLevelCursor(int level, bool shown, QPoint pos, const QString& text,
                                  const QColor& background, const QColor& textColour) {
    QLabel* l = levelCursors_[static_cast<size_t>(level - 1)];
    if (!shown) {
        if (!l->isHidden())
            l->hide();
        return;
    }
    if (l->text() != text) {
        l->setText(text);
        l->adjustSize();
    }
    if (l->pos() != pos)
        l->move(pos);
    const QPalette& pal = l->palette();
    if (pal.color(QPalette::Window) != background || pal.color(QPalette::WindowText) != textColour)
        SetLabelColours(l, background, textColour);
    if (l->isHidden()) {
        l->show();
        l->raise();
    }
}

void ListCanvas::paint(QPainter& painter) {
    if (state_.paintLock)
        return;
    state_.paintLock = true;
    struct Unlock {
        bool& flag;
        ~Unlock() { flag = false; }
    } unlock{state_.paintLock};

    const int m = state_.screenMode;
    if (m == mode::Busy)
        return;
    if (mode::IsResultMode(m))
        paintResultPage(painter);
    else if (mode::IsKeyMode(m))
        paintLevelLists(painter);
}

void ListCanvas::paintResultPage(QPainter& painter) {
    const auto& rows = state_.page.rows;
    if (state_.foundCount == 0 || rows[0].text == kNoResultMarker)
        return;
    drawResultHeadings(painter);
    int y = geo::FirstRowY;
    for (const ResultRow& row : rows) {
        if (row.text == kNoResultMarker || row.text == kBlankMarker)
            continue;
        drawResultRow(painter, y, row);
        y += geo::RowPitch;
    }
}

void ListCanvas::paintLevelLists(QPainter& painter) {
    const int m = state_.screenMode;
    Problem first;
    for (int l = 1; l <= 3; ++l) {
        Problem p = LoadLevelList(state_.archive, state_.levels, l,
                                  state_.cursor.selectedRow[static_cast<size_t>(l - 1)]);
        if (p && !first)
            first = p;
    }
    ShowLevelHeaders(state_.cursor.currentLevel);

    QColor bg = Qt::white;
    if (m == mode::NewKeyword)
        bg = colour::Yellow;
    if (m == mode::KeySearchSetup)
        bg = colour::Aqua;
    if (state_.editExisting)
        bg = colour::Fuchsia;
    const QColor fg = state_.editExisting ? QColor(Qt::white) : QColor(Qt::black);

    for (int l = 1; l <= 3; ++l) {
        const LevelList& list = state_.levels.levels[static_cast<size_t>(l - 1)];
        const int sel = state_.cursor.selectedRow[static_cast<size_t>(l - 1)];
        const int x = geo::LevelX[static_cast<size_t>(l - 1)];
        const bool shown = list.count > 0 && sel >= 1 && sel <= kPageRows;
        QString selText;
        if (shown)
            selText = FromCp1252(list.texts[static_cast<size_t>(sel - 1)]);
        applyLevelCursor(l, shown, QPoint(x, geo::FirstRowY + geo::RowPitch * (sel - 1)), selText,
                         bg, fg);
        for (int r = 1; r <= kPageRows; ++r) {
            if (r == sel)
                continue;
            const std::string& name = list.texts[static_cast<size_t>(r - 1)];
            if (!name.empty())
                drawText(painter, x, geo::FirstRowY + geo::RowPitch * (r - 1), FromCp1252(name),
                         colour::Lime);
        }
    }
    if (first)
        paintProblem_ = first;
}

} // namespace lumo
