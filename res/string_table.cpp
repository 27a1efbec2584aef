#include "res/string_table.h"

namespace {

struct Entry {
    int id;
    const char* text;
};

constexpr Entry kStrings[] = {
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
};

}  // namespace

std::string load_string(int id) {
    for (const Entry& e : kStrings)
        if (e.id == id) return e.text;
    return {};
}
