#pragma once
// Boards searched out of sight (the solver's, a hint's) run at the simulator's fixed step,
// whatever the frame rate, and are never heard; the game's own settings come back when the
// slice of searching ends.
class SearchConditions {
public:
    SearchConditions();
    ~SearchConditions();
    SearchConditions(const SearchConditions&) = delete;
    SearchConditions& operator=(const SearchConditions&) = delete;

private:
    double stepBefore;
    bool silentBefore;
};
