#include "shared/commandline.h"
#include "sweeper/sweep.h"

int main(int argc, char *argv[])
{
    if (const auto code = perumina::answerHelpOrVersion(
            argc, argv, QStringLiteral("InboxSweep"),
            QStringLiteral("このコンピュータのローカルフォルダ（c/group/）に残った"
                           "受信箱のコピー（受信箱.txt）を削除します。")))
        return *code;
    sweeper::sweepInboxCopy();
    return 0;
}
