#pragma once

#include <QApplication>
#include <QDialog>
#include <QTimer>

#include <gtest/gtest.h>

#include <deque>
#include <functional>

// Answers the modal dialogs that show, one step each, in order.
class TDialogSkript {
public:
    explicit TDialogSkript(std::deque<std::function<void(QWidget*)>> schritte) : FSchritte(std::move(schritte))
    {
        QObject::connect(&FTakt, &QTimer::timeout, [this] {
            QWidget* m = QApplication::activeModalWidget();
            if (!m || m == FLetzter)
                return;
            FLetzter = m;
            if (FSchritte.empty()) {
                ADD_FAILURE() << "unexpected dialog " << qPrintable(m->objectName());
                qobject_cast<QDialog*>(m)->done(0);
                return;
            }
            auto schritt = std::move(FSchritte.front());
            FSchritte.pop_front();
            schritt(m);
        });
        FTakt.start(5);
    }
    ~TDialogSkript() { EXPECT_TRUE(FSchritte.empty()) << FSchritte.size() << " dialogs did not show"; }

private:
    std::deque<std::function<void(QWidget*)>> FSchritte;
    QTimer FTakt;
    QWidget* FLetzter = nullptr;
};

template <class D>
std::function<void(QWidget*)> Im(std::function<void(D&)> f)
{
    return [f](QWidget* w) {
        D* d = qobject_cast<D*>(w);
        ASSERT_TRUE(d) << qPrintable(w->objectName());
        f(*d);
    };
}
