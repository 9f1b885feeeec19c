#pragma once
// The places of one box as a table for the magazine map: rows of ten places, magazine
// after magazine. Each cell says what the place holds in its text, colour, hover text and
// accessible name; printing paints the same cells.
#include "extras/logic/PlaceGrid.h"

#include <QAbstractTableModel>

#include <functional>
#include <optional>

namespace lumo {

class PlaceGridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    using KeyNames = std::function<QString(int32_t)>; // "Berge, Alpen" for a slide

    explicit PlaceGridModel(QObject* parent = nullptr) : QAbstractTableModel(parent) {}
    void setBox(const CollectionIndex* index, BoxMap map, KeyNames keyNames);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& cell, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    std::optional<PlaceCode> placeAt(const QModelIndex& cell) const;
    std::vector<int32_t> slidesAt(const QModelIndex& cell) const;
    QModelIndex cellOf(int magazine, int place) const;
    const BoxMap& map() const { return map_; }

    // "Dia 42, Kasten 1, A02, Schlösser im Sommer"
    QString slideLine(int32_t slide) const;
    // The info text of a slide without its position.
    QString infoText(int32_t slide) const;

private:
    QString accessibleName(const PlaceCode& code, const std::vector<int32_t>& slides) const;
    QString toolTip(const PlaceCode& code, const std::vector<int32_t>& slides) const;
    QString cellText(const PlaceCode& code, const std::vector<int32_t>& slides) const;

    const CollectionIndex* index_ = nullptr;
    BoxMap map_;
    std::vector<GridRow> rows_;
    KeyNames keyNames_;
};

// Marks of a slide as letters: M memo, B picture, K header data.
QString MarkLetters(uint8_t marks);

} // namespace lumo
