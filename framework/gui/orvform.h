#pragma once

#include <QDialog>

// Form base of the program's windows and dialogs. ORVFormInit registers the form under a
// key; its position and size are kept per key between runs. FormShow runs on the first
// showing, FormActivate on every activation.
class TORVForm : public QDialog {
    Q_OBJECT
public:
    explicit TORVForm(QWidget* parent = nullptr);
    ~TORVForm() override;

    void ORVFormInit(const QString& key, bool flag);

protected:
    virtual void FormShow() {}
    virtual void FormActivate() {}

    void showEvent(QShowEvent* e) override;
    bool event(QEvent* e) override;
    void done(int r) override;

private:
    void GeometrieSichern();

    QString FKey;
    bool FGezeigt = false;
};
