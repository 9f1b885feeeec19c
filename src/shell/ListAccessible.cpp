#include "shell/ListAccessible.h"

#include "platform/Cp1252.h"
#include "shell/ListArea.h"
#include "shell/ListCanvas.h"
#include "shell/StatusLine.h"
#include "ui/AppState.h"

#include <QAccessibleWidget>
#include <QPointer>

#include <map>

namespace lumo {

namespace {

QString Q(const char* utf8) {
    return QString::fromUtf8(utf8);
}

// The three result columns as their headings name them, and what each shows.
constexpr const char* kColumnHeadings[3] = {"Kasten-Nummer", "Dia-Nummer", "Dia-Informationstext"};

enum class Shown { Nothing, Levels, Results };

int IndexAmong(const QAccessibleInterface& parent, const QAccessibleInterface* child) {
    for (int i = 0; i < parent.childCount(); ++i)
        if (parent.child(i) == child)
            return i;
    return -1;
}

QAccessibleInterface* ChildAtPoint(const QAccessibleInterface& parent, int x, int y) {
    for (int i = 0; i < parent.childCount(); ++i)
        if (QAccessibleInterface* c = parent.child(i); c && c->rect().contains(x, y))
            return c;
    return nullptr;
}

class AreaAccessible;

// A part of the list area without a widget of its own; it reads the state when asked.
class PartAccessible : public QAccessibleInterface {
public:
    explicit PartAccessible(ListArea* area) : area_(area) {}
    bool isValid() const override { return !area_.isNull(); }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override;
    QAccessibleInterface* childAt(int x, int y) const override { return ChildAtPoint(*this, x, y); }
    void setText(QAccessible::Text, const QString&) override {}
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface* child) const override {
        return IndexAmong(*this, child);
    }

protected:
    AreaAccessible* areaInterface() const;
    const AppState& program() const { return area_->state(); }
    // A rectangle of the canvas (client coordinates) on the screen.
    QRect onScreen(const QRect& clientRect) const {
        const QRect r = area_->fromClient(clientRect);
        return QRect(area_->mapToGlobal(r.topLeft()), r.size());
    }
    QPointer<ListArea> area_;
};

class AreaAccessible : public QAccessibleWidget {
public:
    explicit AreaAccessible(ListArea* area) : QAccessibleWidget(area, QAccessible::Pane) {}

    ListArea* area() const { return static_cast<ListArea*>(widget()); }
    Shown shown() const {
        const int m = area()->state().screenMode;
        if (mode::IsKeyMode(m))
            return Shown::Levels;
        if (mode::IsResultMode(m))
            return Shown::Results;
        return Shown::Nothing;
    }
    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name)
            switch (shown()) {
            case Shown::Levels:
                return Q("Stichwortlisten");
            case Shown::Results:
                return Q("Suchergebnis");
            case Shown::Nothing:
                break;
            }
        return QAccessibleWidget::text(t);
    }
    int childCount() const override {
        switch (shown()) {
        case Shown::Levels:
            return 3;
        case Shown::Results:
            return 1;
        case Shown::Nothing:
            break;
        }
        return 0;
    }
    QAccessibleInterface* child(int index) const override {
        if (index < 0 || index >= childCount())
            return nullptr;
        return shown() == Shown::Levels ? levelList(index + 1) : resultTable();
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        return IndexAmong(*this, child);
    }
    QAccessibleInterface* childAt(int x, int y) const override { return ChildAtPoint(*this, x, y); }
    // Where the keys work now: the focused level's cursor row, the highlighted result row.
    QAccessibleInterface* focusChild() const override {
        if (!area()->hasFocus())
            return nullptr;
        const AppState& s = area()->state();
        if (shown() == Shown::Levels) {
            const int level = area()->focusLevel();
            const auto l = static_cast<size_t>(level - 1);
            if (s.levels.levels[l].count > 0)
                return item(level, s.cursor.selectedRow[l]);
            return levelList(level);
        }
        if (shown() == Shown::Results)
            return area()->focusRow() <= ResultRowsShown(s) ? cell(area()->focusRow(), 2)
                                                            : resultTable();
        return nullptr;
    }

    QAccessibleInterface* levelList(int level) const;
    QAccessibleInterface* item(int level, int row) const;
    QAccessibleInterface* resultTable() const;
    QAccessibleInterface* cell(int row, int column) const; // row 0: the column headings

private:
    // The parts live as long as the program's accessibility cache; each is made once.
    template <typename Part, typename... Args>
    QAccessibleInterface* part(int key, Args... args) const {
        auto it = parts_.find(key);
        if (it != parts_.end())
            if (QAccessibleInterface* iface = QAccessible::accessibleInterface(it->second))
                return iface;
        auto* iface = new Part(area(), args...);
        parts_[key] = QAccessible::registerAccessibleInterface(iface);
        return iface;
    }
    mutable std::map<int, QAccessible::Id> parts_;
};

AreaAccessible* PartAccessible::areaInterface() const {
    return static_cast<AreaAccessible*>(QAccessible::queryAccessibleInterface(area_.data()));
}

QWindow* PartAccessible::window() const {
    return isValid() ? areaInterface()->window() : nullptr;
}

// One keyword of a level list.
class KeywordItem : public PartAccessible {
public:
    KeywordItem(ListArea* area, int level, int row)
        : PartAccessible(area), level_(level), row_(row) {}
    QAccessibleInterface* parent() const override {
        return isValid() ? areaInterface()->levelList(level_) : nullptr;
    }
    QString text(QAccessible::Text t) const override {
        if (t != QAccessible::Name)
            return {};
        return FromCp1252(list().texts[static_cast<size_t>(row_ - 1)]).trimmed();
    }
    QRect rect() const override {
        const int x = geo::LevelX[static_cast<size_t>(level_ - 1)];
        return onScreen(QRect(x, geo::FirstRowY + geo::RowPitch * (row_ - 1), 190, geo::RowPitch));
    }
    QAccessible::Role role() const override { return QAccessible::ListItem; }
    QAccessible::State state() const override {
        QAccessible::State s;
        s.selectable = true;
        s.focusable = true;
        s.selected = picked();
        const bool cursor = program().cursor.selectedRow[static_cast<size_t>(level_ - 1)] == row_;
        s.active = cursor;
        s.focused = cursor && area_->hasFocus() && area_->focusLevel() == level_;
        return s;
    }

private:
    const LevelList& list() const {
        return program().levels.levels[static_cast<size_t>(level_ - 1)];
    }
    // A picked key of this level carries this name (names are unique within a level; the
    // code's length tells the level, also for codes read from a record padded with blanks).
    bool picked() const {
        const KeySelection& keys = program().keys;
        const QString name = text(QAccessible::Name);
        for (int i = 0; i < keys.count && i < 8; ++i) {
            const KeyEntry& e = keys.entries[static_cast<size_t>(i)];
            const size_t end = e.code.find_last_not_of(' ');
            const size_t codeLength = end == std::string::npos ? 0 : end + 1;
            if (codeLength == static_cast<size_t>(2 * level_) &&
                FromCp1252(e.name).trimmed() == name)
                return true;
        }
        return false;
    }
    int level_, row_;
};

// A level list with its keywords.
class LevelListPart : public PartAccessible {
public:
    LevelListPart(ListArea* area, int level) : PartAccessible(area), level_(level) {}
    QAccessibleInterface* parent() const override { return areaInterface(); }
    int childCount() const override {
        if (!isValid())
            return 0;
        return std::clamp(program().levels.levels[static_cast<size_t>(level_ - 1)].count, 0,
                          kLevelRows);
    }
    QAccessibleInterface* child(int index) const override {
        return index >= 0 && index < childCount() ? areaInterface()->item(level_, index + 1)
                                                  : nullptr;
    }
    QString text(QAccessible::Text t) const override {
        return t == QAccessible::Name ? QStringLiteral("Stichwortebene <%1>").arg(level_)
                                      : QString();
    }
    QRect rect() const override {
        const int x = geo::LevelX[static_cast<size_t>(level_ - 1)];
        return onScreen(QRect(x, geo::HeadingY, 195,
                              geo::FirstRowY - geo::HeadingY + geo::RowPitch * kLevelRows));
    }
    QAccessible::Role role() const override { return QAccessible::List; }
    QAccessible::State state() const override { return {}; }

private:
    static constexpr int kLevelRows = 17;
    int level_;
};

// One cell of the result page, or (row 0) one column heading.
class ResultCell : public PartAccessible, public QAccessibleTableCellInterface {
public:
    ResultCell(ListArea* area, int row, int column)
        : PartAccessible(area), row_(row), column_(column) {}
    QAccessibleInterface* parent() const override {
        return isValid() ? areaInterface()->resultTable() : nullptr;
    }
    QString text(QAccessible::Text t) const override {
        if (t != QAccessible::Name)
            return {};
        if (row_ == 0)
            return Q(kColumnHeadings[column_]);
        const ResultRow& r = program().page.rows[static_cast<size_t>(row_ - 1)];
        switch (column_) {
        case 0:
            return FromCp1252(r.box);
        case 1:
            return FromCp1252(r.slide);
        default:
            return (FromCp1252(r.code) + QLatin1Char(' ') + FromCp1252(r.text)).simplified();
        }
    }
    QRect rect() const override {
        static constexpr int left[3] = {geo::HeadBoxX, geo::HeadSlideX, geo::HeadTextX};
        static constexpr int right[3] = {geo::HeadSlideX, geo::HeadTextX, geo::ScrollBarX};
        const int y = row_ == 0 ? geo::HeadingY : geo::FirstRowY + geo::RowPitch * (row_ - 1);
        return onScreen(QRect(left[column_], y, right[column_] - left[column_], geo::RowPitch));
    }
    QAccessible::Role role() const override {
        return row_ == 0 ? QAccessible::ColumnHeader : QAccessible::Cell;
    }
    QAccessible::State state() const override {
        QAccessible::State s;
        if (row_ == 0)
            return s;
        s.focusable = true;
        s.selectable = true;
        s.selected = isSelected();
        // The keys stand on the row; its text cell is where they are reported.
        s.focused = s.selected && column_ == 2 && area_->hasFocus();
        return s;
    }
    void* interface_cast(QAccessible::InterfaceType t) override {
        return t == QAccessible::TableCellInterface
                   ? static_cast<QAccessibleTableCellInterface*>(this)
                   : nullptr;
    }

    // The highlighted row is the selected one.
    bool isSelected() const override { return row_ > 0 && area_->focusRow() == row_; }
    QList<QAccessibleInterface*> columnHeaderCells() const override {
        return {areaInterface()->cell(0, column_)};
    }
    QList<QAccessibleInterface*> rowHeaderCells() const override { return {}; }
    int columnIndex() const override { return column_; }
    int rowIndex() const override { return row_ - 1; }
    int columnExtent() const override { return 1; }
    int rowExtent() const override { return 1; }
    QAccessibleInterface* table() const override { return parent(); }

private:
    int row_, column_;
};

// The result page: the filled rows, three columns as the headings say.
class ResultTable : public PartAccessible, public QAccessibleTableInterface {
public:
    explicit ResultTable(ListArea* area) : PartAccessible(area) {}
    QAccessibleInterface* parent() const override { return areaInterface(); }
    // The three headings first, then the cells row by row.
    int childCount() const override { return isValid() ? 3 + 3 * rowCount() : 0; }
    QAccessibleInterface* child(int index) const override {
        if (index < 0 || index >= childCount())
            return nullptr;
        return areaInterface()->cell(index / 3, index % 3);
    }
    QString text(QAccessible::Text t) const override {
        return t == QAccessible::Name ? Q("Gefundene Dias") : QString();
    }
    QRect rect() const override {
        return onScreen(QRect(geo::HeadBoxX, geo::HeadingY, geo::ScrollBarX - geo::HeadBoxX,
                              geo::FirstRowY - geo::HeadingY + geo::RowPitch * kPageRows));
    }
    QAccessible::Role role() const override { return QAccessible::Table; }
    QAccessible::State state() const override { return {}; }
    void* interface_cast(QAccessible::InterfaceType t) override {
        return t == QAccessible::TableInterface ? static_cast<QAccessibleTableInterface*>(this)
                                                : nullptr;
    }

    QAccessibleInterface* caption() const override { return nullptr; }
    QAccessibleInterface* summary() const override { return nullptr; }
    QAccessibleInterface* cellAt(int row, int column) const override {
        if (row < 0 || row >= rowCount() || column < 0 || column > 2)
            return nullptr;
        return areaInterface()->cell(row + 1, column);
    }
    int selectedCellCount() const override { return isRowSelected(selectedRow()) ? 3 : 0; }
    QList<QAccessibleInterface*> selectedCells() const override {
        QList<QAccessibleInterface*> cells;
        if (isRowSelected(selectedRow()))
            for (int c = 0; c < 3; ++c)
                cells << cellAt(selectedRow(), c);
        return cells;
    }
    QString columnDescription(int column) const override {
        return column >= 0 && column < 3 ? Q(kColumnHeadings[column]) : QString();
    }
    QString rowDescription(int) const override { return {}; }
    int selectedColumnCount() const override { return 0; }
    int selectedRowCount() const override { return isRowSelected(selectedRow()) ? 1 : 0; }
    int columnCount() const override { return 3; }
    int rowCount() const override { return ResultRowsShown(program()); }
    QList<int> selectedColumns() const override { return {}; }
    QList<int> selectedRows() const override {
        return isRowSelected(selectedRow()) ? QList<int>{selectedRow()} : QList<int>{};
    }
    bool isColumnSelected(int) const override { return false; }
    bool isRowSelected(int row) const override {
        return row >= 0 && row < rowCount() && row == selectedRow();
    }
    // The row highlight moves with the keys only.
    bool selectRow(int) override { return false; }
    bool selectColumn(int) override { return false; }
    bool unselectRow(int) override { return false; }
    bool unselectColumn(int) override { return false; }
    void modelChange(QAccessibleTableModelChangeEvent*) override {}

private:
    int selectedRow() const { return area_->focusRow() - 1; }
};

QAccessibleInterface* AreaAccessible::levelList(int level) const {
    return part<LevelListPart>(level, level);
}
QAccessibleInterface* AreaAccessible::item(int level, int row) const {
    return part<KeywordItem>(100 * level + row, level, row);
}
QAccessibleInterface* AreaAccessible::resultTable() const {
    return part<ResultTable>(1000);
}
QAccessibleInterface* AreaAccessible::cell(int row, int column) const {
    return part<ResultCell>(2000 + 10 * row + column, row, column);
}

// The status line as a status bar whose name is its text.
class StatusLineAccessible : public QAccessibleWidget {
public:
    explicit StatusLineAccessible(StatusLine* line)
        : QAccessibleWidget(line, QAccessible::StatusBar) {}
    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name || t == QAccessible::Value)
            return static_cast<StatusLine*>(widget())->text();
        return QAccessibleWidget::text(t);
    }
};

QAccessibleInterface* ShellFactory(const QString& className, QObject* object) {
    if (!object || !object->isWidgetType())
        return nullptr;
    if (className == QLatin1String("lumo::ListArea"))
        return new AreaAccessible(static_cast<ListArea*>(object));
    if (className == QLatin1String("lumo::StatusLine"))
        return new StatusLineAccessible(static_cast<StatusLine*>(object));
    return nullptr;
}

AreaAccessible* AreaOf(ListArea* area) {
    return static_cast<AreaAccessible*>(QAccessible::queryAccessibleInterface(area));
}

void Send(QAccessibleInterface* iface, QAccessible::Event type) {
    if (!iface)
        return;
    QAccessibleEvent event(iface, type);
    QAccessible::updateAccessibility(&event);
}

} // namespace

void InstallShellAccessibility() {
    static const bool installed = [] {
        QAccessible::installFactory(ShellFactory);
        return true;
    }();
    (void)installed;
}

QAccessibleInterface* ListItemInterface(ListArea* area, int level, int row) {
    return AreaOf(area)->item(level, row);
}

QAccessibleInterface* ResultCellInterface(ListArea* area, int row, int column) {
    return AreaOf(area)->cell(row, column);
}

void AnnounceFocusedPart(ListArea* area) {
    Send(AreaOf(area)->focusChild(), QAccessible::Focus);
}

void AnnouncePickedKey(ListArea* area, int level) {
    const AppState& s = area->state();
    Send(AreaOf(area)->item(level, s.cursor.selectedRow[static_cast<size_t>(level - 1)]),
         QAccessible::SelectionAdd);
}

void AnnounceListsChanged(ListArea* area) {
    QAccessibleEvent event(area, QAccessible::ObjectReorder);
    QAccessible::updateAccessibility(&event);
}

} // namespace lumo
