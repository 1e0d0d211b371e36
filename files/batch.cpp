#include "files/batch.hpp"

namespace zelvo {

void runCommandLine(CZelvoApp&, const std::vector<std::string>&, UserInterface&) {}

}  // namespace zelvo
