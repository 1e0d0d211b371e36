#include "ui/model/main_dialog_model.hpp"

#include "resources/app_texts.hpp"
#include "resources/string_table.hpp"
#include "resources/window_texts.hpp"

namespace zelvo {

MainDialogModel::MainDialogModel(ProfileFile profile, std::optional<ConfigurationSearch> saveTo)
    : profile_(std::move(profile)), saveTo_(std::move(saveTo)) {
    tabs_.push_back({Page::Presentation, std::string(loadString(texts::kAboutItemId))});
    const struct {
        Page page;
        std::optional<PageSettings>& settings;
        int labelId;
    } pages[] = {{Page::Standard, standard_, texts::kStandardTabId}, {Page::Grid, grid_, texts::kGridTabId}};
    for (const auto& p : pages) {
        PageSettings loaded;
        if (!loadPageSettings(profile_, static_cast<int>(p.page), loaded)) continue;
        p.settings = std::move(loaded);
        tabs_.push_back({p.page, std::string(loadString(p.labelId))});
    }
}

bool MainDialogModel::pageExists(Page page) const {
    switch (page) {
        case Page::Presentation: return true;
        case Page::Standard: return standard_.has_value();
        case Page::Grid: return grid_.has_value();
    }
    return false;
}

PageSettings& MainDialogModel::settings(Page page) { return page == Page::Standard ? standard_.value() : grid_.value(); }

void MainDialogModel::selectTab(int index) {
    if (index >= 0 && static_cast<std::size_t>(index) < tabs_.size()) selected_ = index;
}

MainDialogModel::ComputeAction MainDialogModel::compute() const {
    if (visiblePage() == Page::Presentation) return {std::nullopt, texts::kNotComputedHere};
    return {visiblePage(), {}};
}

std::string MainDialogModel::quit() {
    bool saved = true;
    const auto save = [this](Page page, const PageSettings& settings) {
        return saveTo_ ? saveUserPageSettings(*saveTo_, static_cast<int>(page), settings)
                       : savePageSettings(profile_, static_cast<int>(page), settings);
    };
    if (standard_) saved = save(Page::Standard, *standard_) && saved;
    if (grid_) saved = save(Page::Grid, *grid_) && saved;
    return saved ? std::string() : std::string(texts::kSettingsNotSaved);
}

}  // namespace zelvo
