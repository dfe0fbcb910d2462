#pragma once

#include "framework/gui/vrlistnode.h"

#include <QAbstractTableModel>
#include <QColor>
#include <QStringList>
#include <QTreeView>
#include <QVariant>

#include <functional>
#include <memory>
#include <vector>

// Value types and format kinds of list columns, by their ordinals.
enum TVRType : int { vrtNone = 0, vrtInteger = 1, vrtChar = 4, vrtText = 6, vrtDate = 7, vrtDateTime = 9, vrtFloat = 10 };
enum TVRFormatType : int { vrfNone = 0, vrfFormatStr = 1 };

struct TVRSpalte {
    QString Caption;
    int VRType = vrtNone;
    int FormatType = vrfNone;
    QString FormatStr;
    bool Visible = true;
    bool Flag = false;   // the model's further per-column flag
};

// Row model: typed columns and rows of values. Dates are TDateTime values.
class TVRList : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit TVRList(QObject* parent = nullptr);

    void SpalteAdd(const TVRSpalte& spalte);
    const std::vector<TVRSpalte>& Spalten() const { return FSpalten; }

    // A row buffer: values set column by column, then added as a row.
    std::vector<QVariant> ZeilenPuffer() const { return std::vector<QVariant>(FSpalten.size()); }
    TVRListNode* ZeileAdd(std::vector<QVariant> werte);
    // A row inserted before position i, and a row taken out; the other rows keep their
    // nodes, marks, and the view its current row and selection.
    TVRListNode* ZeileEinfuegen(int i, std::vector<QVariant> werte);
    void ZeileEntfernen(TVRListNode* node);
    void Clear();

    // Rows added or cleared inside an update bracket reach the views as one reset when the
    // bracket closes, instead of one notice per row.
    void BeginUpdate() { ++FUpdateTiefe; }
    void EndUpdate();

    int Anzahl() const { return static_cast<int>(FZeilen.size()); }
    TVRListNode* Zeile(int i) const { return FZeilen[static_cast<size_t>(i)].get(); }
    QVariant Wert(const TVRListNode* node, int spalte) const { return node->Werte[static_cast<size_t>(spalte)]; }
    void SetWert(TVRListNode* node, int spalte, const QVariant& wert);
    // Every value of the row; the views hear of it only when one changed.
    void SetWerte(TVRListNode* node, std::vector<QVariant> werte);
    void SetCheckState(TVRListNode* node, Qt::CheckState s);
    // The text a cell shows, formatted by its column's type and format.
    QString Text(const TVRListNode* node, int spalte) const;

    // Background of a cell; an invalid colour keeps the default painting.
    std::function<QColor(const TVRListNode*, int spalte)> OnBeforeCellPaint;
    // Called for every new row.
    std::function<void(TVRListNode*)> OnInitNode;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(int section, Qt::Orientation o, int role) const override;

private:
    // Starts the bracket's reset before the first change of the rows.
    bool SammelnBeginnen();
    void Nummerieren(int ab);

    std::vector<TVRSpalte> FSpalten;
    std::vector<std::unique_ptr<TVRListNode>> FZeilen;
    int FUpdateTiefe = 0;
    bool FZuruecksetzen = false;
};

// List view over a TVRList: check boxes, full-row selection of one row, alternating row
// colours. Columns and rows become visible by the two update calls.
class TVTORVVRList : public QTreeView {
    Q_OBJECT
public:
    explicit TVTORVVRList(QWidget* parent = nullptr);

    TVRList* VRList() const { return FList; }
    void SetVRList(TVRList* list);   // the view owns the model

    void BeginUpdate();
    void EndUpdate();
    // Takes over the model's columns (and hides invisible ones) / fits to the rows.
    void UpdateSpalten(bool anpassen);
    void UpdateZeilen(int von, int bis);
    // Column widths kept between runs; widths once set stay when the rows change.
    QStringList Spaltenbreiten() const;
    void SpaltenbreitenSetzen(const QStringList& breiten);

    TVRListNode* GetFirst() const;
    TVRListNode* GetNext(const TVRListNode* node) const;
    TVRListNode* GetFirstSelected() const;
    TVRListNode* GetFirstChecked() const;
    TVRListNode* GetNextChecked(const TVRListNode* node) const;
    void Select(TVRListNode* node);
    void RepaintNode(const TVRListNode* node);

    std::function<void(int spalte)> OnHeaderClick;

protected:
    bool event(QEvent* e) override;

private:
    TVRList* FList = nullptr;
    int FUpdateTiefe = 0;
    bool FAnpassen = false;   // fit the columns when the update bracket closes
    bool FFesteBreiten = false;   // widths set from an earlier run: rows do not refit them
};

// The update bracket of a list view, closed on every path.
class TVRListUpdate {
public:
    explicit TVRListUpdate(TVTORVVRList* liste) : FListe(liste) { FListe->BeginUpdate(); }
    ~TVRListUpdate() { FListe->EndUpdate(); }
    TVRListUpdate(const TVRListUpdate&) = delete;
    TVRListUpdate& operator=(const TVRListUpdate&) = delete;

private:
    TVTORVVRList* FListe;
};
