#include "framework/gui/vrlist.h"

#include "framework/core/datetime.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QLocale>

void TVRModell::SpalteAdd(const TVRSpalte& spalte)
{
    beginInsertColumns({}, static_cast<int>(FSpalten.size()), static_cast<int>(FSpalten.size()));
    FSpalten.push_back(spalte);
    endInsertColumns();
}

QString TVRModell::Text(int zeile, int spalte) const
{
    const TVRSpalte& s = FSpalten[static_cast<size_t>(spalte)];
    const QVariant w = Wert(zeile, spalte);
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

int TVRModell::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(FSpalten.size());
}

QVariant TVRModell::data(const QModelIndex& index, int role) const
{
    if (!index.isValid())
        return {};
    const int spalte = index.column();
    switch (role) {
    case Qt::DisplayRole:
        return Text(index.row(), spalte);
    case Qt::TextAlignmentRole: {
        const int t = FSpalten[static_cast<size_t>(spalte)].VRType;
        return QVariant::fromValue((t == vrtFloat || t == vrtInteger ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
    }
    case Qt::BackgroundRole:
        if (OnBeforeCellPaint) {
            const QColor c = OnBeforeCellPaint(index.row(), spalte);
            if (c.isValid())
                return c;
        }
        return {};
    default:
        return {};
    }
}

Qt::ItemFlags TVRModell::flags(const QModelIndex&) const
{
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
}

QVariant TVRModell::headerData(int section, Qt::Orientation o, int role) const
{
    if (o == Qt::Horizontal && role == Qt::DisplayRole && section < static_cast<int>(FSpalten.size()))
        return FSpalten[static_cast<size_t>(section)].Caption;
    return {};
}

void TVRList::ZeileAdd(std::vector<QVariant> werte)
{
    werte.resize(Spalten().size());
    const int i = static_cast<int>(FZeilen.size());
    beginInsertRows({}, i, i);
    FZeilen.push_back(std::move(werte));
    endInsertRows();
}

QVariant TVRList::Wert(int zeile, int spalte) const
{
    const std::vector<QVariant>& werte = FZeilen[static_cast<size_t>(zeile)];
    return static_cast<size_t>(spalte) < werte.size() ? werte[static_cast<size_t>(spalte)] : QVariant();
}

int TVRList::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(FZeilen.size());
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

void TVTORVVRList::SetVRList(TVRModell* list)
{
    list->setParent(this);
    FList = list;
    setModel(list);
}

void TVTORVVRList::BeginUpdate()
{
    if (FUpdateTiefe++ == 0)
        setUpdatesEnabled(false);
}

void TVTORVVRList::EndUpdate()
{
    if (FUpdateTiefe == 0 || --FUpdateTiefe > 0)
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

int TVTORVVRList::GetFirst() const
{
    return FList && FList->Anzahl() > 0 ? 0 : -1;
}

int TVTORVVRList::GetNext(int zeile) const
{
    return FList && zeile >= 0 && zeile + 1 < FList->Anzahl() ? zeile + 1 : -1;
}

int TVTORVVRList::GetFirstSelected() const
{
    if (!FList || !selectionModel())
        return -1;
    const QModelIndexList rows = selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

int TVTORVVRList::GetFirstChecked() const
{
    const int erste = GetFirst();
    return erste >= 0 && CheckState(erste) == Qt::Checked ? erste : GetNextChecked(erste);
}

int TVTORVVRList::GetNextChecked(int zeile) const
{
    for (int n = GetNext(zeile); n >= 0; n = GetNext(n))
        if (CheckState(n) == Qt::Checked)
            return n;
    return -1;
}

void TVTORVVRList::Select(int zeile)
{
    if (!FList || zeile < 0)
        return;
    selectionModel()->setCurrentIndex(FList->index(zeile, 0), QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

void TVTORVVRList::RepaintNode(int zeile)
{
    if (FList && zeile >= 0)
        viewport()->update(visualRect(FList->index(zeile, 0)).adjusted(-10000, 0, 10000, 0));
}

Qt::CheckState TVTORVVRList::CheckState(int zeile) const
{
    return static_cast<Qt::CheckState>(FList->index(zeile, 0).data(Qt::CheckStateRole).toInt());
}

void TVTORVVRList::SetCheckState(int zeile, Qt::CheckState s)
{
    FList->setData(FList->index(zeile, 0), s, Qt::CheckStateRole);
}
