#pragma once

#include <QCoroTask>
#include <QWidget>

class QComboBox;
class QLabel;

namespace wrenlow {

class DashboardViewModel;
class LabeledField;
class PlainLabel;
class SecureLabeledField;
class StatusPill;
class SymbolView;
class TintedButton;
class ToggleSwitch;

// The Upload page's Korvane session card: sign-in with a password or PIN, who is signed in, the lot and unit
// category, and the resolve of this Mac with its one-line summary; in place of the sign-in, a notice with a
// way to try again once the gateway was found unreachable.
class BackendSessionCard : public QWidget
{
    Q_OBJECT
public:
    explicit BackendSessionCard(DashboardViewModel &model, QWidget *parent = nullptr);

    void refresh();

private:
    QWidget *makeHeader();
    QWidget *makeOfflineNotice();
    QWidget *makeSignInRow();
    QWidget *makeSignedInBlock();
    // The sign-in first probes the gateway before the model marks itself busy; the card keeps its sign-in
    // buttons busy for the whole attempt so that a second press cannot start a second one.
    QCoro::Task<> signIn();

    DashboardViewModel &m_model;
    bool m_signingIn = false;
    StatusPill *m_pill = nullptr;
    QWidget *m_offlineNotice = nullptr;
    TintedButton *m_tryAgain = nullptr;
    QWidget *m_signInRow = nullptr;
    LabeledField *m_user = nullptr;
    SecureLabeledField *m_credential = nullptr;
    ToggleSwitch *m_usePin = nullptr;
    TintedButton *m_signIn = nullptr;
    QWidget *m_signedIn = nullptr;
    PlainLabel *m_userName = nullptr;
    PlainLabel *m_userStatus = nullptr;
    TintedButton *m_signOut = nullptr;
    QComboBox *m_lots = nullptr;
    QComboBox *m_categories = nullptr;
    TintedButton *m_resolve = nullptr;
    QWidget *m_summary = nullptr;
    SymbolView *m_summarySymbol = nullptr;
    PlainLabel *m_summaryText = nullptr;
    PlainLabel *m_status = nullptr;
};

} // namespace wrenlow
