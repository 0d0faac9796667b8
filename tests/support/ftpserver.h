#pragma once
// A real FTP server on 127.0.0.1 for the upload tests (Debian's pyftpdlib).

namespace velmaro::test {} // namespace velmaro::test
