#include "sweeper/sweep.h"

int main()
{
    sweeper::sweepInboxCopy();
    return 0;
}
