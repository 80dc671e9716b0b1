#include "client/ui/registrationscreen.h"

#include "client/core/registry.h"
#include "client/ui/clientapp.h"
#include "client/ui/welcomescreen.h"

#include "shared/ui/formkit.h"

#include <QGridLayout>

namespace client {

RegistrationScreen::RegistrationScreen(ClientApp &app, QWidget *parent) : Screen(app, parent)
{
    using namespace perumina::kit;
    setUpForm(this, "RegistrationScreen", kScreenCaption);
    registrationTabs = make<QTabWidget>(this, "registrationTabs");
    auto *registerTab = new QWidget;
    auto *registeredTab = new QWidget;
    registrationTabs->addTab(registerTab, QStringLiteral("新しく登録する"));
    registrationTabs->addTab(registeredTab, QStringLiteral("すでに登録している人達"));

    userNameCaption = label(registerTab, "userNameCaption", QStringLiteral("登録するユーザー名は"));
    userNameBox = textBox(registerTab, "userNameBox");
    userNameHintCaption = label(registerTab, "userNameHintCaption", QStringLiteral("２文字以上で！"));
    fullNameCaption = label(registerTab, "fullNameCaption", QStringLiteral("本名は"));
    fullNameBox = textBox(registerTab, "fullNameBox");
    fullNameHintCaption = label(registerTab, "fullNameHintCaption", QStringLiteral("フルネームで！"));
    passwordCaption = label(registerTab, "passwordCaption", QStringLiteral("登録するパスワードは"));
    passwordBox = perumina::kit::passwordBox(registerTab, "passwordBox", 7);
    passwordLengthCaption =
        label(registerTab, "passwordLengthCaption", QStringLiteral("（７文字で設定して下さい。）"));
    passwordCommaCaption =
        label(registerTab, "passwordCommaCaption", QStringLiteral("コンマは使用できません。"));
    QGridLayout *form = grid({{userNameCaption, 0, 0},
                              {userNameBox, 0, 1},
                              {userNameHintCaption, 0, 2},
                              {fullNameCaption, 1, 0},
                              {fullNameBox, 1, 1},
                              {fullNameHintCaption, 1, 2},
                              {passwordCaption, 2, 0},
                              {passwordBox, 2, 1},
                              {passwordCommaCaption, 2, 2},
                              {passwordLengthCaption, 3, 0, 1, 2}},
                             registerTab);
    form->setColumnStretch(1, 1);
    form->setRowStretch(4, 1);

    fullNamesCaption =
        label(registeredTab, "fullNamesCaption", QStringLiteral("現在、登録している人（登録順）"));
    fullNameList = listView(registeredTab, "fullNameList");
    userNamesCaption =
        label(registeredTab, "userNamesCaption", QStringLiteral("使われているユーザー名（あいうえお順）"));
    userNameList = listView(registeredTab, "userNameList");
    grid({{fullNamesCaption, 0, 0}, {fullNameList, 1, 0}, {userNamesCaption, 0, 1}, {userNameList, 1, 1}},
         registeredTab);
    registrationTabs->setCurrentWidget(registeredTab);

    reminderCaption =
        label(this, "reminderCaption",
              QStringLiteral("※　この情報は管理者によって管理されますが、忘れないようにして下さい。　　"
                             "また、パスワードは他人に知られないように注意しましょう。"));
    reminderCaption->setWordWrap(true);
    for (QLabel *warning : {userNameHintCaption, fullNameHintCaption, passwordCommaCaption, reminderCaption})
        setTextColour(warning, Qt::red);
    backButton = button(this, "backButton", QStringLiteral("戻る"));
    registerButton = button(this, "registerButton", QStringLiteral("登録"));
    quitButton = button(this, "quitButton", QStringLiteral("終了"));
    registerButton->setDefault(true);

    column({{registrationTabs, 1},
            reminderCaption,
            row({backButton, Item::stretch(), registerButton, quitButton})},
           this);
    resize(640, 420);

    connect(registerButton, &QPushButton::clicked, this, &RegistrationScreen::registerUser);
    connect(quitButton, &QPushButton::clicked, this, &RegistrationScreen::quit);
    connect(backButton, &QPushButton::clicked, this, &RegistrationScreen::backToWelcome);

    loadRegistered();
}

QListView *RegistrationScreen::listView(QWidget *parent, const char *name)
{
    auto *view = perumina::kit::make<QListView>(parent, name);
    view->setModel(new QStringListModel(view));
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setUniformItemSizes(true); // no measuring of every row of a long list
    return view;
}

static void showValues(QListView *view, const QStringList &values)
{
    static_cast<QStringListModel *>(view->model())->setStringList(values);
}

void RegistrationScreen::loadRegistered()
{
    const RegistryLists lists = loadRegistryLists(app_.serverName());
    showValues(fullNameList, lists.fullNames);
    showValues(userNameList, sortedUserNames(lists.userNames));
    registered_ = {joinedWithLineEnds(lists.userNames), joinedWithLineEnds(lists.fullNames)};
    userNameBox->clear();
    fullNameBox->clear();
    passwordBox->clear();
    if (!lists.complete)
        app_.dialogs().message(lists.problem.isEmpty() ? registryUnreachableMessage() : lists.problem);
}

QLineEdit *RegistrationScreen::box(Field field) const
{
    switch (field) {
    case Field::UserName:
        return userNameBox;
    case Field::FullName:
        return fullNameBox;
    case Field::Password:
        return passwordBox;
    }
    return userNameBox;
}

void RegistrationScreen::registerUser()
{
    const NewUser user = foldedNewUser(userNameBox->text(), fullNameBox->text(), passwordBox->text());
    std::optional<Refusal> refusal = checkNewUser(user, registered_.userNames, registered_.fullNames);
    RegistrationResult result;
    if (!refusal) {
        result = recordRegistration(app_.serverName(), user);
        if (result.outcome == RegistrationOutcome::Failed) {
            const QString lead = result.partlyWritten ? QStringLiteral("登録の途中で失敗しました。")
                                                      : QStringLiteral("登録できませんでした。");
            app_.dialogs().message(lead + QStringLiteral("\n") + result.error +
                                   QStringLiteral("\n担任の先生を呼んで確認してもらって下さい。"));
            return;
        }
        refusal = result.refusal;
    }
    if (refusal) {
        app_.dialogs().message(refusal->message);
        box(refusal->field)->clear();
        return;
    }
    // For the moment before the program ends, the lists show only the new user's names.
    showValues(fullNameList, {user.fullName});
    showValues(userNameList, {user.userName});
    if (!result.notice.isEmpty())
        app_.dialogs().message(result.notice);
    app_.dialogs().message(kRegisteredMessage);
    hide();
    // Someone who logged in earlier in this run leaves no inbox copy behind.
    app_.sweepAndEnd();
}

void RegistrationScreen::quit()
{
    app_.sweepAndEnd();
}

void RegistrationScreen::backToWelcome()
{
    hide();
    app_.welcomeScreen()->show();
}

} // namespace client
