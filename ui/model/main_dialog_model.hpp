#pragma once
// What the main window decides, without any widget: which tabs exist and what they show, when
// "C&alculer" computes, and the quit action that saves the transformation pages' settings.

#include <optional>
#include <string>
#include <vector>

#include "app/configuration.hpp"
#include "app/page_settings.hpp"
#include "platform/profile.hpp"

namespace zelvo {

// The pages of the main window; a transformation page's value is its page number (1, 2).
enum class Page { Presentation = 0, Standard = 1, Grid = 2 };

struct Tab {
    Page page;
    std::string label;
};

class MainDialogModel {
public:
    // Loads the settings of both transformation pages from the configuration file: a page
    // whose section is absent or empty does not exist, nor does its tab.
    // When a configuration search is given, quit() saves into the user's own configuration file
    // (never a shared or installed one) rather than into the file read.
    explicit MainDialogModel(ProfileFile profile, std::optional<ConfigurationSearch> saveTo = std::nullopt);

    // Tab 0 is the presentation page; the existing transformation pages follow, standard first.
    const std::vector<Tab>& tabs() const { return tabs_; }
    bool pageExists(Page page) const;
    // The settings record of an existing transformation page: loaded here, saved by quit().
    PageSettings& settings(Page page);

    // A selection outside the tabs is ignored.
    void selectTab(int index);
    int selectedTab() const { return selected_; }
    Page visiblePage() const { return tabs_[static_cast<std::size_t>(selected_)].page; }
    // "C&alculer" is disabled exactly while the presentation tab is selected.
    bool computeEnabled() const { return selected_ != 0; }

    // The compute action on the selected tab: the page that computes, or on the presentation
    // tab the refusal to show (however the action was invoked).
    struct ComputeAction {
        std::optional<Page> page;
        std::string refusal;
    };
    ComputeAction compute() const;

    // The quit action: saves every existing page, standard first, each even after a failed
    // one. Returns the warning to show once, or the empty text when everything was saved.
    std::string quit();

private:
    ProfileFile profile_;
    std::optional<ConfigurationSearch> saveTo_;
    std::optional<PageSettings> standard_;
    std::optional<PageSettings> grid_;
    std::vector<Tab> tabs_;
    int selected_ = 0;
};

}  // namespace zelvo
