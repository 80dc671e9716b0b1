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
    SSTab1 = make<QTabWidget>(this, "SSTab1");
    auto *registerTab = new QWidget;
    auto *registeredTab = new QWidget;
    SSTab1->addTab(registerTab, QStringLiteral("新しく登録する"));
    SSTab1->addTab(registeredTab, QStringLiteral("すでに登録している人達"));

    Label1 = label(registerTab, "Label1", QStringLiteral("登録するユーザー名は"));
    Text1 = textBox(registerTab, "Text1");
    Label15 = label(registerTab, "Label15", QStringLiteral("２文字以上で！"));
    Label2 = label(registerTab, "Label2", QStringLiteral("本名は"));
    Text2 = textBox(registerTab, "Text2");
    Label16 = label(registerTab, "Label16", QStringLiteral("フルネームで！"));
    Label3 = label(registerTab, "Label3", QStringLiteral("登録するパスワードは"));
    Text3 = passwordBox(registerTab, "Text3", 7);
    Label9 = label(registerTab, "Label9", QStringLiteral("（７文字で設定して下さい。）"));
    Label5 = label(registerTab, "Label5", QStringLiteral("コンマは使用できません。"));
    QGridLayout *form = grid({{Label1, 0, 0},
                              {Text1, 0, 1},
                              {Label15, 0, 2},
                              {Label2, 1, 0},
                              {Text2, 1, 1},
                              {Label16, 1, 2},
                              {Label3, 2, 0},
                              {Text3, 2, 1},
                              {Label5, 2, 2},
                              {Label9, 3, 0, 1, 2}},
                             registerTab);
    form->setColumnStretch(1, 1);
    form->setRowStretch(4, 1);

    Label6 = label(registeredTab, "Label6", QStringLiteral("現在、登録している人（登録順）"));
    List1 = listView(registeredTab, "List1");
    Label12 = label(registeredTab, "Label12", QStringLiteral("使われているユーザー名（あいうえお順）"));
    List4 = listView(registeredTab, "List4");
    grid({{Label6, 0, 0}, {List1, 1, 0}, {Label12, 0, 1}, {List4, 1, 1}}, registeredTab);
    SSTab1->setCurrentWidget(registeredTab);

    Label19 = label(this, "Label19",
                    QStringLiteral("※　この情報は管理者によって管理されますが、忘れないようにして下さい。　　"
                                   "また、パスワードは他人に知られないように注意しましょう。"));
    Label19->setWordWrap(true);
    for (QLabel *warning : {Label15, Label16, Label5, Label19})
        setTextColour(warning, Qt::red);
    Command7 = button(this, "Command7", QStringLiteral("戻る"));
    Command1 = button(this, "Command1", QStringLiteral("登録"));
    Command5 = button(this, "Command5", QStringLiteral("終了"));
    Command1->setDefault(true);

    column({{SSTab1, 1}, Label19, row({Command7, Item::stretch(), Command1, Command5})}, this);
    resize(640, 420);

    connect(Command1, &QPushButton::clicked, this, &RegistrationScreen::Command1_Click);
    connect(Command5, &QPushButton::clicked, this, &RegistrationScreen::Command5_Click);
    connect(Command7, &QPushButton::clicked, this, &RegistrationScreen::Command7_Click);

    Form_Load();
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

void RegistrationScreen::Form_Load()
{
    const RegistryLists lists = loadRegistryLists(app_.serverName());
    showValues(List1, lists.fullNames);
    showValues(List4, sortedUserNames(lists.userNames));
    registered_ = {joinedWithLineEnds(lists.userNames), joinedWithLineEnds(lists.fullNames)};
    Text1->clear();
    Text2->clear();
    Text3->clear();
    if (!lists.complete)
        app_.dialogs().message(lists.problem.isEmpty() ? registryUnreachableMessage() : lists.problem);
}

QLineEdit *RegistrationScreen::box(Field field) const
{
    switch (field) {
    case Field::UserName:
        return Text1;
    case Field::FullName:
        return Text2;
    case Field::Password:
        return Text3;
    }
    return Text1;
}

void RegistrationScreen::Command1_Click()
{
    const NewUser user = foldedNewUser(Text1->text(), Text2->text(), Text3->text());
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
    showValues(List1, {user.fullName});
    showValues(List4, {user.userName});
    if (!result.notice.isEmpty())
        app_.dialogs().message(result.notice);
    app_.dialogs().message(kRegisteredMessage);
    hide();
    // Someone who logged in earlier in this run leaves no inbox copy behind.
    app_.sweepAndEnd();
}

void RegistrationScreen::Command5_Click()
{
    app_.sweepAndEnd();
}

void RegistrationScreen::Command7_Click()
{
    hide();
    app_.welcomeScreen()->show();
}

} // namespace client
