#include "framework/gui/vrlist.h"

#include "framework/core/datetime.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QLocale>

TVRList::TVRList(QObject* parent) : QAbstractTableModel(parent) {}

void TVRList::SpalteAdd(const TVRSpalte& spalte)
{
    beginInsertColumns({}, static_cast<int>(FSpalten.size()), static_cast<int>(FSpalten.size()));
    FSpalten.push_back(spalte);
    for (auto& z : FZeilen)
        z->Werte.emplace_back();
    endInsertColumns();
}

bool TVRList::SammelnBeginnen()
{
    if (FUpdateTiefe == 0)
        return false;
    if (!FZuruecksetzen) {
        beginResetModel();
        FZuruecksetzen = true;
    }
    return true;
}

void TVRList::EndUpdate()
{
    if (FUpdateTiefe > 0 && --FUpdateTiefe == 0 && FZuruecksetzen) {
        FZuruecksetzen = false;
        endResetModel();
    }
}

TVRListNode* TVRList::ZeileAdd(std::vector<QVariant> werte)
{
    return ZeileEinfuegen(static_cast<int>(FZeilen.size()), std::move(werte));
}

void TVRList::Nummerieren(int ab)
{
    for (size_t i = static_cast<size_t>(ab); i < FZeilen.size(); ++i)
        FZeilen[i]->Index = static_cast<int>(i);
}

TVRListNode* TVRList::ZeileEinfuegen(int i, std::vector<QVariant> werte)
{
    werte.resize(FSpalten.size());
    const bool gesammelt = SammelnBeginnen();
    if (!gesammelt)
        beginInsertRows({}, i, i);
    auto node = std::make_unique<TVRListNode>();
    node->Werte = std::move(werte);
    TVRListNode* r = node.get();
    FZeilen.insert(FZeilen.begin() + i, std::move(node));
    Nummerieren(i);
    if (OnInitNode)
        OnInitNode(r);
    if (!gesammelt)
        endInsertRows();
    return r;
}

void TVRList::ZeileEntfernen(TVRListNode* node)
{
    const int i = node->Index;
    const bool gesammelt = SammelnBeginnen();
    if (!gesammelt)
        beginRemoveRows({}, i, i);
    FZeilen.erase(FZeilen.begin() + i);
    Nummerieren(i);
    if (!gesammelt)
        endRemoveRows();
}

void TVRList::Clear()
{
    const bool gesammelt = SammelnBeginnen();
    if (!gesammelt)
        beginResetModel();
    FZeilen.clear();
    if (!gesammelt)
        endResetModel();
}

void TVRList::SetWert(TVRListNode* node, int spalte, const QVariant& wert)
{
    node->Werte[static_cast<size_t>(spalte)] = wert;
    emit dataChanged(index(node->Index, 0), index(node->Index, columnCount() - 1));
}

void TVRList::SetWerte(TVRListNode* node, std::vector<QVariant> werte)
{
    werte.resize(FSpalten.size());
    if (werte == node->Werte)
        return;
    node->Werte = std::move(werte);
    emit dataChanged(index(node->Index, 0), index(node->Index, columnCount() - 1));
}

void TVRList::SetCheckState(TVRListNode* node, Qt::CheckState s)
{
    node->CheckState = s;
    emit dataChanged(index(node->Index, 0), index(node->Index, 0), {Qt::CheckStateRole});
}

QString TVRList::Text(const TVRListNode* node, int spalte) const
{
    const TVRSpalte& s = FSpalten[static_cast<size_t>(spalte)];
    const QVariant& w = node->Werte[static_cast<size_t>(spalte)];
    if (!w.isValid())
        return QString();
    switch (s.VRType) {
    case vrtDate:
        return TDateTime_FormatDatum(w.toDouble());
    case vrtDateTime:
        return TDateTime_ToQDateTime(w.toDouble()).toString(QStringLiteral("dd.MM.yyyy HH:mm:ss"));
    case vrtFloat:
        if (s.FormatType == vrfFormatStr && s.FormatStr.endsWith(QLatin1String(".2n")))   // "%12.2n"
            return QLocale(QLocale::German).toString(w.toDouble(), 'f', 2);
        return QLocale(QLocale::German).toString(w.toDouble());
    case vrtInteger:
        return QString::number(w.toLongLong());
    default:
        return w.toString();
    }
}

int TVRList::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(FZeilen.size());
}

int TVRList::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(FSpalten.size());
}

QVariant TVRList::data(const QModelIndex& index, int role) const
{
    if (!index.isValid())
        return {};
    const TVRListNode* node = FZeilen[static_cast<size_t>(index.row())].get();
    const int spalte = index.column();
    switch (role) {
    case Qt::DisplayRole:
        return Text(node, spalte);
    case Qt::CheckStateRole:
        return spalte == 0 && node->HatCheckbox ? QVariant(node->CheckState) : QVariant();
    case Qt::TextAlignmentRole: {
        const int t = FSpalten[static_cast<size_t>(spalte)].VRType;
        return QVariant::fromValue((t == vrtFloat || t == vrtInteger ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
    }
    case Qt::BackgroundRole:
        if (OnBeforeCellPaint) {
            const QColor c = OnBeforeCellPaint(node, spalte);
            if (c.isValid())
                return c;
        }
        return {};
    default:
        return {};
    }
}

bool TVRList::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (!index.isValid() || role != Qt::CheckStateRole || index.column() != 0)
        return false;
    // two-state check boxes: anything but checked becomes unchecked
    SetCheckState(FZeilen[static_cast<size_t>(index.row())].get(),
                  value.toInt() == Qt::Checked ? Qt::Checked : Qt::Unchecked);
    return true;
}

Qt::ItemFlags TVRList::flags(const QModelIndex& index) const
{
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (index.column() == 0 && FZeilen[static_cast<size_t>(index.row())]->HatCheckbox)
        f |= Qt::ItemIsUserCheckable;
    return f;
}

QVariant TVRList::headerData(int section, Qt::Orientation o, int role) const
{
    if (o == Qt::Horizontal && role == Qt::DisplayRole && section < static_cast<int>(FSpalten.size()))
        return FSpalten[static_cast<size_t>(section)].Caption;
    return {};
}

TVTORVVRList::TVTORVVRList(QWidget* parent) : QTreeView(parent)
{
    setRootIsDecorated(false);
    setAlternatingRowColors(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setUniformRowHeights(true);
    setAllColumnsShowFocus(true);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    header()->setSectionsClickable(true);
    connect(header(), &QHeaderView::sectionClicked, this, [this](int spalte) {
        if (OnHeaderClick)
            OnHeaderClick(spalte);
    });
}

bool TVTORVVRList::event(QEvent* e)
{
    // Ctrl+A belongs to the window ("mark all"), not to the view's select-all
    if (e->type() == QEvent::ShortcutOverride && static_cast<QKeyEvent*>(e)->matches(QKeySequence::SelectAll)) {
        e->ignore();
        return true;
    }
    return QTreeView::event(e);
}

void TVTORVVRList::SetVRList(TVRList* list)
{
    list->setParent(this);
    FList = list;
    setModel(list);
    // a model given inside an update bracket joins it
    for (int i = 0; i < FUpdateTiefe; ++i)
        FList->BeginUpdate();
}

void TVTORVVRList::BeginUpdate()
{
    if (FUpdateTiefe++ == 0)
        setUpdatesEnabled(false);
    if (FList)
        FList->BeginUpdate();
}

void TVTORVVRList::EndUpdate()
{
    if (FUpdateTiefe == 0)
        return;
    if (FList)
        FList->EndUpdate();
    if (--FUpdateTiefe > 0)
        return;
    setUpdatesEnabled(true);
    if (FAnpassen) {
        FAnpassen = false;
        UpdateZeilen(0, 0);
    }
}

void TVTORVVRList::UpdateSpalten(bool anpassen)
{
    if (!FList)
        return;
    for (int i = 0; i < static_cast<int>(FList->Spalten().size()); ++i)
        setColumnHidden(i, !FList->Spalten()[static_cast<size_t>(i)].Visible);
    if (anpassen && !FFesteBreiten)
        header()->resizeSections(QHeaderView::ResizeToContents);
}

void TVTORVVRList::UpdateZeilen(int, int)
{
    if (!FList || FFesteBreiten)
        return;
    if (FUpdateTiefe > 0) {   // the rows reach the view when the bracket closes
        FAnpassen = true;
        return;
    }
    // fit to what the visible rows need; measuring all rows would cost with long lists
    for (int i = 0; i < FList->columnCount(); ++i)
        if (!isColumnHidden(i))
            setColumnWidth(i, std::max(sizeHintForColumn(i), header()->sectionSizeHint(i)) + 8);
}

QStringList TVTORVVRList::Spaltenbreiten() const
{
    QStringList r;
    for (int i = 0; i < header()->count(); ++i)
        r << QString::number(header()->sectionSize(i));
    return r;
}

void TVTORVVRList::SpaltenbreitenSetzen(const QStringList& breiten)
{
    for (int i = 0; i < std::min(static_cast<int>(breiten.size()), header()->count()); ++i)
        if (const int b = breiten[i].toInt(); b > 0)
            header()->resizeSection(i, b);
    FFesteBreiten = !breiten.isEmpty();
}

TVRListNode* TVTORVVRList::GetFirst() const
{
    return FList && FList->Anzahl() > 0 ? FList->Zeile(0) : nullptr;
}

TVRListNode* TVTORVVRList::GetNext(const TVRListNode* node) const
{
    return node && node->Index + 1 < FList->Anzahl() ? FList->Zeile(node->Index + 1) : nullptr;
}

TVRListNode* TVTORVVRList::GetFirstSelected() const
{
    if (!FList || !selectionModel())
        return nullptr;
    const QModelIndexList rows = selectionModel()->selectedRows();
    return rows.isEmpty() ? nullptr : FList->Zeile(rows.first().row());
}

TVRListNode* TVTORVVRList::GetFirstChecked() const
{
    for (TVRListNode* n = GetFirst(); n; n = GetNext(n))
        if (n->CheckState == Qt::Checked)
            return n;
    return nullptr;
}

TVRListNode* TVTORVVRList::GetNextChecked(const TVRListNode* node) const
{
    for (TVRListNode* n = GetNext(node); n; n = GetNext(n))
        if (n->CheckState == Qt::Checked)
            return n;
    return nullptr;
}

void TVTORVVRList::Select(TVRListNode* node)
{
    if (!FList || !node)
        return;
    const QModelIndex i = FList->index(node->Index, 0);
    selectionModel()->setCurrentIndex(i, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

void TVTORVVRList::RepaintNode(const TVRListNode* node)
{
    if (FList && node)
        viewport()->update(visualRect(FList->index(node->Index, 0)).adjusted(-10000, 0, 10000, 0));
}
