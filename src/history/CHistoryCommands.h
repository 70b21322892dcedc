#pragma once
// Edit > Undo, Edit > Redo and View > History... of a group window.

namespace orv {

class CORVSchedDoc;

class CHistoryCommands {
public:
    enum class Step { undo, redo, history };

    explicit CHistoryCommands(CORVSchedDoc& doc) : m_doc(doc) {}
    void run(Step step);

private:
    CORVSchedDoc& m_doc;
};

} // namespace orv
