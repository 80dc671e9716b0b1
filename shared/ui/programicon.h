#pragma once

namespace perumina {

// Which of the two icons a program's windows carry: the classroom's (the client and the classroom
// boards) or the staff room's (the administration program and the editing boards).
enum class ProgramIcon
{
    Classroom,
    StaffRoom
};

// Gives every window of this program its icon, so that a task bar shows it. Call after the application
// exists.
void setProgramIcon(ProgramIcon icon);

} // namespace perumina
