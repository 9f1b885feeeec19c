#include "extras/PlaceGridModel.h"

#include "platform/Cp1252.h"

#include <QColor>
#include <QFont>

namespace lumo {

namespace {
const QColor kEmptyColour(244, 244, 240);
const QColor kTakenColour(198, 232, 198);
const QColor kDoubledColour(204, 32, 32);
} // namespace

QString MarkLetters(uint8_t marks) {
    QStringList letters;
    if (marks & MarkMemo)
        letters << QStringLiteral("M");
    if (marks & MarkPicture)
        letters << QStringLiteral("B");
    if (marks & MarkHeaderData)
        letters << QStringLiteral("K");
    return letters.join(u' ');
}

void PlaceGridModel::setBox(const CollectionIndex* index, BoxMap map, KeyNames keyNames) {
    beginResetModel();
    index_ = index;
    map_ = std::move(map);
    rows_ = GridRows(map_);
    keyNames_ = std::move(keyNames);
    endResetModel();
}

int PlaceGridModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(rows_.size());
}

int PlaceGridModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kPlacesPerGridRow;
}

std::optional<PlaceCode> PlaceGridModel::placeAt(const QModelIndex& cell) const {
    if (!cell.isValid() || cell.row() >= int(rows_.size()))
        return std::nullopt;
    const GridRow& row = rows_[size_t(cell.row())];
    const int place = row.firstPlace + cell.column();
    if (place > row.lastPlace)
        return std::nullopt;
    return PlaceCode{row.magazine, place};
}

std::vector<int32_t> PlaceGridModel::slidesAt(const QModelIndex& cell) const {
    const auto code = placeAt(cell);
    return code ? map_.claimsAt(code->magazine, code->place) : std::vector<int32_t>{};
}

QModelIndex PlaceGridModel::cellOf(int magazine, int place) const {
    for (size_t r = 0; r < rows_.size(); ++r)
        if (rows_[r].magazine == magazine && place >= rows_[r].firstPlace &&
            place <= rows_[r].lastPlace)
            return index(int(r), place - rows_[r].firstPlace);
    return {};
}

QString PlaceGridModel::infoText(int32_t slide) const {
    const std::string info = index_ ? index_->InfoField(slide) : std::string();
    return FromCp1252(info.size() > 4 ? info.substr(4) : std::string()).trimmed();
}

QString PlaceGridModel::slideLine(int32_t slide) const {
    const std::string info = index_ ? index_->InfoField(slide) : std::string();
    QString line = QStringLiteral("Dia %1, Kasten %2, %3")
                       .arg(slide)
                       .arg(map_.box)
                       .arg(FromCp1252(info.substr(0, 3)));
    const QString text = infoText(slide);
    return text.isEmpty() ? line : line + QStringLiteral(", ") + text;
}

QString PlaceGridModel::accessibleName(const PlaceCode& code,
                                       const std::vector<int32_t>& slides) const {
    const QString place = FromCp1252(PlaceCodeText(code.magazine, code.place));
    if (slides.empty())
        return QStringLiteral("Platz ") + place + QStringLiteral(" frei");
    if (slides.size() == 1)
        return slideLine(slides[0]);
    QStringList numbers;
    for (int32_t n : slides)
        numbers << QStringLiteral("Dia %1").arg(n);
    return QStringLiteral("Platz ") + place + QStringLiteral(" doppelt belegt: ") +
           numbers.join(QStringLiteral(", "));
}

QString PlaceGridModel::toolTip(const PlaceCode& code, const std::vector<int32_t>& slides) const {
    if (slides.empty())
        return accessibleName(code, slides);
    QStringList parts;
    if (slides.size() > 1)
        parts << accessibleName(code, slides);
    for (int32_t n : slides) {
        QString part = slideLine(n);
        const QString keys = keyNames_ ? keyNames_(n) : QString();
        if (!keys.isEmpty())
            part += QStringLiteral("\nSchlüssel: ") + keys;
        const uint8_t marks = index_->Marks(n);
        QStringList has;
        if (marks & MarkMemo)
            has << QStringLiteral("Memo");
        if (marks & MarkPicture)
            has << QStringLiteral("Bild");
        if (marks & MarkHeaderData)
            has << QStringLiteral("Kopfdaten");
        if (!has.isEmpty())
            part += QStringLiteral("\nMit ") + has.join(QStringLiteral(", "));
        parts << part;
    }
    return parts.join(QStringLiteral("\n\n"));
}

QString PlaceGridModel::cellText(const PlaceCode& code, const std::vector<int32_t>& slides) const {
    QString text = FromCp1252(PlaceCodeText(code.magazine, code.place));
    if (slides.empty())
        return text + QStringLiteral("\nfrei");
    if (slides.size() > 1)
        return text + QStringLiteral("\n%1 Dias!").arg(slides.size());
    text += u'\n' + QString::number(slides[0]);
    const QString marks = MarkLetters(index_->Marks(slides[0]));
    return marks.isEmpty() ? text : text + u'\n' + marks;
}

QVariant PlaceGridModel::data(const QModelIndex& cell, int role) const {
    const auto code = placeAt(cell);
    if (!code)
        return {};
    const auto& slides = map_.claimsAt(code->magazine, code->place);
    switch (role) {
    case Qt::DisplayRole:
        return cellText(*code, slides);
    case Qt::ToolTipRole:
        return toolTip(*code, slides);
    case Qt::AccessibleTextRole:
        return accessibleName(*code, slides);
    case Qt::BackgroundRole:
        return slides.empty() ? kEmptyColour : slides.size() == 1 ? kTakenColour : kDoubledColour;
    case Qt::ForegroundRole:
        return slides.size() > 1 ? QColor(Qt::white)
               : slides.empty()  ? QColor(Qt::gray)
                                 : QColor(Qt::black);
    case Qt::FontRole:
        if (slides.size() > 1) {
            QFont bold;
            bold.setBold(true);
            return bold;
        }
        return {};
    case Qt::TextAlignmentRole:
        return int(Qt::AlignCenter);
    default:
        return {};
    }
}

QVariant PlaceGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Vertical || section < 0 || section >= int(rows_.size()) ||
        (role != Qt::DisplayRole && role != Qt::AccessibleTextRole))
        return QAbstractTableModel::headerData(section, orientation, role);
    const GridRow& row = rows_[size_t(section)];
    if (role == Qt::AccessibleTextRole)
        return QStringLiteral("Magazin %1, Plätze %2 bis %3")
            .arg(QChar(u'A' + row.magazine))
            .arg(row.firstPlace)
            .arg(row.lastPlace);
    return QStringLiteral("%1 %2–%3")
        .arg(QChar(u'A' + row.magazine))
        .arg(row.firstPlace, 2, 10, QLatin1Char('0'))
        .arg(row.lastPlace, 2, 10, QLatin1Char('0'));
}

} // namespace lumo
