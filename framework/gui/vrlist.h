#pragma once

#include <QAbstractTableModel>
#include <QColor>
#include <QStringList>
#include <QTreeView>
#include <QVariant>

#include <functional>
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

// A list model of typed columns. Subclasses hold the rows and give each cell's value (dates
// as TDateTime values); the texts shown are formatted here by the column's type and format.
class TVRModell : public QAbstractTableModel {
    Q_OBJECT
public:
    using QAbstractTableModel::QAbstractTableModel;

    void SpalteAdd(const TVRSpalte& spalte);
    const std::vector<TVRSpalte>& Spalten() const { return FSpalten; }

    int Anzahl() const { return rowCount(); }
    // The value of a cell; invalid where the row has none.
    virtual QVariant Wert(int zeile, int spalte) const = 0;
    // The text a cell shows.
    QString Text(int zeile, int spalte) const;

    // Background of a cell; an invalid colour keeps the default painting.
    std::function<QColor(int zeile, int spalte)> OnBeforeCellPaint;

    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(int section, Qt::Orientation o, int role) const override;

private:
    std::vector<TVRSpalte> FSpalten;
};

// Rows of values, added one by one; no check boxes.
class TVRList : public TVRModell {
    Q_OBJECT
public:
    using TVRModell::TVRModell;

    // A row buffer: values set column by column, then added as a row.
    std::vector<QVariant> ZeilenPuffer() const { return std::vector<QVariant>(Spalten().size()); }
    void ZeileAdd(std::vector<QVariant> werte);

    QVariant Wert(int zeile, int spalte) const override;
    int rowCount(const QModelIndex& parent = {}) const override;

private:
    std::vector<std::vector<QVariant>> FZeilen;
};

// List view over a TVRModell: check boxes in the first column (where the model has them),
// full-row selection of one row, alternating row colours. Columns and rows become visible by
// the two update calls. Rows are named by their place in list order; -1 is none.
class TVTORVVRList : public QTreeView {
    Q_OBJECT
public:
    explicit TVTORVVRList(QWidget* parent = nullptr);

    TVRModell* VRList() const { return FList; }
    void SetVRList(TVRModell* list);   // the view owns the model

    void BeginUpdate();
    void EndUpdate();
    // Takes over the model's columns (and hides invisible ones) / fits to the rows.
    void UpdateSpalten(bool anpassen);
    void UpdateZeilen(int von, int bis);
    // Column widths kept between runs; widths once set stay when the rows change.
    QStringList Spaltenbreiten() const;
    void SpaltenbreitenSetzen(const QStringList& breiten);

    int GetFirst() const;
    int GetNext(int zeile) const;
    int GetFirstSelected() const;
    int GetFirstChecked() const;
    int GetNextChecked(int zeile) const;
    void Select(int zeile);
    void RepaintNode(int zeile);
    Qt::CheckState CheckState(int zeile) const;
    void SetCheckState(int zeile, Qt::CheckState s);

    std::function<void(int spalte)> OnHeaderClick;

protected:
    bool event(QEvent* e) override;

private:
    TVRModell* FList = nullptr;
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
