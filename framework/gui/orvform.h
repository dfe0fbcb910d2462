#pragma once

#include <QDialog>

#include <memory>

class QSettings;

// Form base of the program's windows and dialogs. ORVFormInit registers the form under a
// key; its position and size are kept per key and user between runs. FormShow runs on the
// first showing, FormActivate on every activation.
class TORVForm : public QDialog {
    Q_OBJECT
public:
    explicit TORVForm(QWidget* parent = nullptr);
    ~TORVForm() override;

    void ORVFormInit(const QString& key, bool flag);

protected:
    virtual void FormShow() {}
    virtual void FormActivate() {}
    // Further state the form keeps beside its geometry, written when it closes.
    virtual void ZustandSichern(QSettings&) {}

    // The form's group in the user's settings.
    std::unique_ptr<QSettings> FormEinstellungen() const;
    // Whether ORVFormInit found a size and position from an earlier run.
    bool GeometrieGeladen() const { return FGeometrieGeladen; }

    void showEvent(QShowEvent* e) override;
    bool event(QEvent* e) override;
    void done(int r) override;

private:
    void GeometrieSichern();

    QString FKey;
    bool FGezeigt = false;
    bool FGeometrieGeladen = false;
};
