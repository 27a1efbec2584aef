#include "res/string_table.h"

#include <unordered_map>

#include "res/text_tables.h"

namespace {

constexpr TextEntry kStrings[] = {
    {101, "TarvoCheckTool 정보(&A)..."},
    {102, "성공"},
    {103, "서버 정보가 존재하지 않습니다."},
    {104, "소켓을 생성할 수 없습니다."},
    {105, "서버에 연결할 수 없습니다."},
    {106, "시작 신호 전달이 실패했습니다."},
    {107, "시작 신호에 대한 응답을 받을 수 없습니다."},
    {108, "서버 응답이 올바르지 않습니다."},
    {109, "소켓 암호화 초기화에 실패했습니다."},
    {110, "사용자에 의해 진단이 취소되었습니다."},
    {111, "관리자 권한의 계정이 아닙니다."},
    {112, "위의 압축 파일을 생성할 수 없습니다."},
    // What the window tells screen readers and keyboard users beyond its visible texts.
    {201, "대기"},
    {202, "진행 중"},
    {203, "완료"},
    {204, "실패"},
    {205, "중지"},
    {206, "진단 진행 중"},
    {207, "진단 대기 중"},
    {208, "최소화"},
    {209, "최대화"},
    {210, "이전 크기로"},
    {211, "닫기"},
    {212, "항상 위"},
    {213, "도움말"},
    {214, "창 단추"},
    {215, "진단 진행률"},
    {216, "로그 수집"},
    {217, "로그 수집 진행률"},
    {218, "%1초 후 자동으로 닫힙니다."},
    {219, "'%1' 열로 정렬"},
    {220, "최소화(&N)"},
    {221, "닫기(&C)"},
};

}  // namespace

std::span<const TextEntry> first_texts() {
    return kStrings;
}

std::string load_string(int id) {
    static const std::unordered_map<int, const char*> texts = [] {
        std::unordered_map<int, const char*> all;
        for (const auto table :
             {first_texts(), engine_texts(), report_texts(), window_texts(), cli_texts(), upload_texts()})
            for (const TextEntry& e : table) all.emplace(e.id, e.text);
        return all;
    }();
    const auto found = texts.find(id);
    return found == texts.end() ? std::string() : std::string(found->second);
}

std::string load_string(int id, std::initializer_list<std::string_view> values) {
    return fill_text(load_string(id), values);
}

std::string fill_text(std::string_view text, std::initializer_list<std::string_view> values) {
    std::string filled;
    filled.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        const size_t number =
            i + 1 < text.size() && text[i] == '%' ? static_cast<size_t>(text[i + 1] - '1') : 9;
        if (number < values.size()) {
            filled += values.begin()[number];
            ++i;
        } else {
            filled += text[i];
        }
    }
    return filled;
}
