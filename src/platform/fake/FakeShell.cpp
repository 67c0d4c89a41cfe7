#include "FakeShell.h"

#include "FakeMachine.h"

bool FakeShell::open(const QString &target)
{
    m_machine.shellOpened.append(target);
    return m_machine.shellOpens.take(false);
}
