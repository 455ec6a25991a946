// The sign-in, chooser, account and purchase pages on their own.
#include "accountwindow.h"
#include "custommessagebox.h"
#include "loginwindow.h"
#include "networkmanager.h"
#include "selectionaccountwindow.h"
#include "subscriptionpurchasewindow.h"
#include "uitestsupport.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>
#include <QTranslator>

namespace {

class UpperTranslator : public QTranslator
{
public:
    bool isEmpty() const override { return false; }
    QString translate(const char*, const char* source, const char*, int) const override
    {
        return QString::fromUtf8(source).toUpper();
    }
};

} // namespace

class TestPages : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { CustomMessageBox::setScripted(true); }
    void init() { CustomMessageBox::clearShown(); }
    void cleanup() { QApplication::restoreOverrideCursor(); }

    void signInNeedsBothFields_data()
    {
        QTest::addColumn<QString>("login");
        QTest::addColumn<QString>("password");
        QTest::newRow("password only") << ""
                                       << "secret";
        QTest::newRow("login only") << "single"
                                    << "";
        QTest::newRow("neither") << ""
                                 << "";
    }

    void signInNeedsBothFields()
    {
        QFETCH(QString, login);
        QFETCH(QString, password);
        LoginWindow page(nullptr);
        QSignalSpy signedIn(&page, &LoginWindow::signedIn);
        page.findChild<QLineEdit*>("edLogin")->setText(login);
        page.findChild<QLineEdit*>("edPassword")->setText(password);
        page.findChild<QPushButton*>("pbSignIn")->click();
        QCOMPARE(signedIn.count(), 0);
        QCOMPARE(CustomMessageBox::shown().size(), 1);
        QCOMPARE(CustomMessageBox::shown()[0].kind, CustomMessageBox::Kind::Information);
        QCOMPARE(CustomMessageBox::shown()[0].text,
                 QString("You must enter username and password to sign in."));
        QVERIFY(QApplication::overrideCursor() == nullptr);
    }

    void enterMovesOnThenSignsIn()
    {
        LoginWindow page(nullptr);
        page.show();
        QVERIFY(QTest::qWaitForWindowActive(&page));
        QSignalSpy signedIn(&page, &LoginWindow::signedIn);
        auto* login = page.findChild<QLineEdit*>("edLogin");
        auto* password = page.findChild<QLineEdit*>("edPassword");
        login->setFocus();
        QTest::keyClicks(login, "multi");
        QTest::keyClick(login, Qt::Key_Return);
        QVERIFY(password->hasFocus());
        QTest::keyClicks(password, "multi+pass word");
        QTest::keyClick(password, Qt::Key_Return);
        QCOMPARE(signedIn.count(), 1);
        QCOMPARE(signedIn[0], QVariantList({QString("multi"), QString("multi+pass word")}));
        QCOMPARE(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
        // The answer restores the cursor once, however often it is asked.
        page.restoreCursor();
        page.restoreCursor();
        QVERIFY(QApplication::overrideCursor() == nullptr);

        page.clear();
        QCOMPARE(login->text(), QString());
        QCOMPARE(password->text(), QString());
    }

    void languageChangeKeepsTypedName()
    {
        LoginWindow page(nullptr);
        page.findChild<QLineEdit*>("edLogin")->setText("single");
        UpperTranslator translator;
        QCoreApplication::installTranslator(&translator);
        QTRY_COMPARE(page.findChild<QPushButton*>("pbSignIn")->text(), QString("LOGIN"));
        QCOMPARE(page.findChild<QLineEdit*>("edPassword")->placeholderText(), QString("PASSWORD"));
        QCOMPARE(page.findChild<QLineEdit*>("edLogin")->text(), QString("single"));
        QCoreApplication::removeTranslator(&translator);
        QTRY_COMPARE(page.findChild<QPushButton*>("pbSignIn")->text(), QString("Login"));
    }

    void chooserReplacesItsLogins()
    {
        SelectionAccountWindow page(nullptr);
        QSignalSpy chosen(&page, &SelectionAccountWindow::continueAuth);
        page.setUsers({"kv1", "kv2", "kv3"});
        page.setUsers({"kv2001", "kv2002"});
        auto radios = page.findChildren<QRadioButton*>();
        QCOMPARE(radios.size(), 2);
        for (QRadioButton* r : radios) {
            QVERIFY(!r->isChecked());
        }
        page.onContinueClicked();
        QCOMPARE(chosen.count(), 0);
        radios[1]->setChecked(true);
        page.findChild<QPushButton*>("btContinue")->click();
        QCOMPARE(chosen.count(), 1);
        QCOMPARE(chosen[0][0].toString(), QString("kv2002"));
    }

    // A buy link that arrives while the page is hidden is not opened, but the
    // buttons work again.
    void buyLinkReenablesButtons()
    {
        AccountWindow account(nullptr);
        SubscriptionPurchaseWindow purchase(nullptr);
        auto* accountBuy = account.findChild<QPushButton*>("btBuy");
        auto* renew = account.findChild<QPushButton*>("btRenew");
        auto* purchaseBuy = purchase.findChild<QPushButton*>("btBuy");
        account.onBuyButtonClicked();
        account.onRenewButtonClicked();
        purchase.onBuyButtonClicked();
        QVERIFY(!accountBuy->isEnabled());
        QVERIFY(!renew->isEnabled());
        QVERIFY(!purchaseBuy->isEnabled());
        emit NetworkManager::instance()->gotBuyLink("https://127.0.0.1:1/buy");
        QVERIFY(accountBuy->isEnabled());
        QVERIFY(renew->isEnabled());
        QVERIFY(purchaseBuy->isEnabled());
    }

    void headerButtonsSignal()
    {
        AccountWindow account(nullptr);
        QSignalSpy back(&account, &AccountWindow::back);
        QSignalSpy logout(&account, &AccountWindow::returnToSignUp);
        QSignalSpy change(&account, &AccountWindow::accountChanged);
        account.findChild<QPushButton*>("pbBack")->click();
        account.findChild<QPushButton*>("pbLogOut")->click();
        account.findChild<QPushButton*>("btAccountChange")->click();
        QCOMPARE(back.count(), 1);
        QCOMPARE(logout.count(), 1);
        QCOMPARE(change.count(), 1);
        QCOMPARE(account.findChild<QPushButton*>("pbLogOut")->toolTip(), QString("Log out"));

        SubscriptionPurchaseWindow purchase(nullptr);
        QSignalSpy purchaseLogout(&purchase, &SubscriptionPurchaseWindow::returnToSignUp);
        purchase.findChild<QPushButton*>("pbLogOut")->click();
        QCOMPARE(purchaseLogout.count(), 1);
    }

    void accountWithoutSubscriptionShowsNoChange()
    {
        AccountWindow account(nullptr);
        account.show();
        QCOMPARE(account.findChild<QLabel*>("lbLogin")->text(), QString());
        QVERIFY(account.findChild<QPushButton*>("btAccountChange")->isHidden());
    }
};

int main(int argc, char** argv)
{
    ScratchHome home;
    qputenv("KESTROVA_API_URL", "https://127.0.0.1:1");
    QApplication app(argc, argv);
    QCoreApplication::setOrganizationName("VKMT");
    QCoreApplication::setApplicationName("Kestrova");
    TestPages test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_pages.moc"
