#pragma once

#include <QDialog>

#include <map>

class QLabel;
class QProgressBar;
class QPushButton;

// Progress dialog for long runs: an animation item and named counters, an abort button
// that may be hidden; it disables its owner while it is shown.
class TORVProgressDialog : public QDialog {
    Q_OBJECT
public:
    explicit TORVProgressDialog(QWidget* owner);

    void SetAbbruchSichtbar(bool sichtbar);
    void AnimationAdd(const QString& name);
    // A counter: caption, then the value, left-aligned, shown in blue.
    void ZaehlerAdd(const QString& name, const QString& caption, const QString& platzhalter);
    void ZaehlerSetzen(const QString& name, const QString& text);
    QString ZaehlerText(const QString& name) const;

    void Zeigen();
    void Verbergen();

protected:
    // Esc and the window's close button abort only where the abort button is offered.
    void reject() override;

private:
    QWidget* FOwner;
    QPushButton* FAbbruch;
    std::map<QString, QLabel*> FZaehler;
    std::map<QString, QProgressBar*> FAnimationen;
};

// Shows a progress dialog for as long as it lives and hides it again on every way out.
class TProgressSichtbar {
public:
    explicit TProgressSichtbar(TORVProgressDialog& dialog) : FDialog(dialog) { FDialog.Zeigen(); }
    ~TProgressSichtbar() { FDialog.Verbergen(); }
    TProgressSichtbar(const TProgressSichtbar&) = delete;
    TProgressSichtbar& operator=(const TProgressSichtbar&) = delete;

private:
    TORVProgressDialog& FDialog;
};
