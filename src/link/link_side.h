#pragma once

// Which of the link's two ports: the instrument under test's or the reference meter's; also
// the port's reader id.
enum class LinkSide { Target = 0, Reference = 1 };
