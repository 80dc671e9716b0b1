#include "client/ui/form02.h"

#include "client/core/registry.h"
#include "client/ui/clientapp.h"
#include "client/ui/form01.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QVBoxLayout>

namespace client {

static QLabel *redLabel(const QString &text, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, Qt::red);
    label->setPalette(palette);
    return label;
}

Form02::Form02(ClientApp &app, QWidget *parent) : Screen(app, parent)
{
    setObjectName(QStringLiteral("Form02"));
    setWindowTitle(QStringLiteral("グループウェア　（ぺる・み・な）"));

    SSTab1 = new QTabWidget(this);
    auto *registerTab = new QWidget;
    auto *registeredTab = new QWidget;
    SSTab1->addTab(registerTab, QStringLiteral("新しく登録する"));
    SSTab1->addTab(registeredTab, QStringLiteral("すでに登録している人達"));

    Label1 = new QLabel(QStringLiteral("登録するユーザー名は"), registerTab);
    Text1 = new QLineEdit(registerTab);
    Label15 = redLabel(QStringLiteral("２文字以上で！"), registerTab);
    Label2 = new QLabel(QStringLiteral("本名は"), registerTab);
    Text2 = new QLineEdit(registerTab);
    Label16 = redLabel(QStringLiteral("フルネームで！"), registerTab);
    Label3 = new QLabel(QStringLiteral("登録するパスワードは"), registerTab);
    Text3 = new QLineEdit(registerTab);
    Label9 = new QLabel(QStringLiteral("（７文字で設定して下さい。）"), registerTab);
    Label5 = redLabel(QStringLiteral("コンマは使用できません。"), registerTab);
    Text3->setEchoMode(QLineEdit::Password);
    Text3->setStyleSheet(QStringLiteral("lineedit-password-character: 42;"));
    Text3->setMaxLength(7);
    Text3->setAttribute(Qt::WA_InputMethodEnabled, false);
    auto *form = new QGridLayout(registerTab);
    form->addWidget(Label1, 0, 0);
    form->addWidget(Text1, 0, 1);
    form->addWidget(Label15, 0, 2);
    form->addWidget(Label2, 1, 0);
    form->addWidget(Text2, 1, 1);
    form->addWidget(Label16, 1, 2);
    form->addWidget(Label3, 2, 0);
    form->addWidget(Text3, 2, 1);
    form->addWidget(Label5, 2, 2);
    form->addWidget(Label9, 3, 0, 1, 2);
    form->setColumnStretch(1, 1);
    form->setRowStretch(4, 1);

    Label6 = new QLabel(QStringLiteral("現在、登録している人（登録順）"), registeredTab);
    List1 = new QListWidget(registeredTab);
    Label12 = new QLabel(QStringLiteral("使われているユーザー名（あいうえお順）"), registeredTab);
    List4 = new QListWidget(registeredTab);
    auto *lists = new QGridLayout(registeredTab);
    lists->addWidget(Label6, 0, 0);
    lists->addWidget(List1, 1, 0);
    lists->addWidget(Label12, 0, 1);
    lists->addWidget(List4, 1, 1);
    SSTab1->setCurrentWidget(registeredTab);

    List2 = new QListWidget(this);
    List3 = new QListWidget(this);
    List2->hide();
    List3->hide();

    Label19 =
        redLabel(QStringLiteral("※　この情報は管理者によって管理されますが、忘れないようにして下さい。　　"
                                "また、パスワードは他人に知られないように注意しましょう。"),
                 this);
    Label19->setWordWrap(true);
    Command7 = new QPushButton(QStringLiteral("戻る"), this);
    Command1 = new QPushButton(QStringLiteral("登録"), this);
    Command5 = new QPushButton(QStringLiteral("終了"), this);
    Command1->setDefault(true);

    SSTab1->setObjectName(QStringLiteral("SSTab1"));
    Label1->setObjectName(QStringLiteral("Label1"));
    Text1->setObjectName(QStringLiteral("Text1"));
    Label15->setObjectName(QStringLiteral("Label15"));
    Label2->setObjectName(QStringLiteral("Label2"));
    Text2->setObjectName(QStringLiteral("Text2"));
    Label16->setObjectName(QStringLiteral("Label16"));
    Label3->setObjectName(QStringLiteral("Label3"));
    Text3->setObjectName(QStringLiteral("Text3"));
    Label9->setObjectName(QStringLiteral("Label9"));
    Label5->setObjectName(QStringLiteral("Label5"));
    Label6->setObjectName(QStringLiteral("Label6"));
    List1->setObjectName(QStringLiteral("List1"));
    Label12->setObjectName(QStringLiteral("Label12"));
    List4->setObjectName(QStringLiteral("List4"));
    List2->setObjectName(QStringLiteral("List2"));
    List3->setObjectName(QStringLiteral("List3"));
    Label19->setObjectName(QStringLiteral("Label19"));
    Command7->setObjectName(QStringLiteral("Command7"));
    Command1->setObjectName(QStringLiteral("Command1"));
    Command5->setObjectName(QStringLiteral("Command5"));

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(Command7);
    buttons->addStretch();
    buttons->addWidget(Command1);
    buttons->addWidget(Command5);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(SSTab1, 1);
    layout->addWidget(Label19);
    layout->addLayout(buttons);
    resize(640, 420);

    connect(Command1, &QPushButton::clicked, this, &Form02::Command1_Click);
    connect(Command5, &QPushButton::clicked, this, &Form02::Command5_Click);
    connect(Command7, &QPushButton::clicked, this, &Form02::Command7_Click);

    Form_Load();
}

void Form02::Form_Load()
{
    const RegistryLists lists = loadRegistryLists(app_.serverName());
    List1->addItems(lists.fullNames);
    fullNameText_ = joinedWithLineEnds(lists.fullNames);
    List2->addItems(lists.credentials);
    List3->addItems(lists.adminRecords);
    List4->addItems(sortedUserNames(lists.userNames));
    userNameText_ = joinedWithLineEnds(lists.userNames);
    Text1->clear();
    Text2->clear();
    Text3->clear();
    if (!lists.complete)
        app_.dialogs().message(registryUnreachableMessage());
}

QLineEdit *Form02::box(Field field) const
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

void Form02::Command1_Click()
{
    const NewUser user = foldedNewUser(Text1->text(), Text2->text(), Text3->text());
    std::optional<Refusal> refusal = checkNewUser(user, userNameText_, fullNameText_);
    if (!refusal) {
        const RegistrationResult result = recordRegistration(app_.serverName(), user);
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
    // For the moment before the program ends, the lists show the one record each file received.
    List1->clear();
    List2->clear();
    List3->clear();
    List4->clear();
    List1->addItem(user.fullName);
    List2->addItem(user.userName + user.password);
    List3->addItem(user.userName + QStringLiteral(",") + user.fullName + QStringLiteral(",") + user.password);
    List4->addItem(user.userName);
    app_.dialogs().message(kRegisteredMessage);
    hide();
    // Someone who logged in earlier in this run leaves no inbox copy behind.
    app_.sweepAndEnd();
}

void Form02::Command5_Click()
{
    app_.sweepAndEnd();
}

void Form02::Command7_Click()
{
    hide();
    app_.form01()->show();
}

} // namespace client
