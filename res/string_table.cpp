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
    // Sending the support bundle on to the support desk's storage: the command line's texts, then the
    // window's. An address is only ever given in its shown form ("https://host/path?…").
    {600, "upload: %1, HTTP %2, %3 bytes in %4 s, verified: %5"},
    {601, "upload failed: %1\nthe archive stays; send it to the support desk by hand: %2"},
    {602, "upload stopped; the archive stays: %1"},
    {603, "upload: attempt %1 in %2 s; the last one failed: %3"},
    {604, "%1 applies to the upload: add --upload"},
    {605, "--upload cannot use %1: %2"},
    {606, "압축 파일을 지원 센터(%1)로\n보내는 중입니다.\n\n보내기가 끝나면 결과를 알려 드립니다."},
    {607, "압축 파일을 지원 센터로 보냈습니다.\n\n%1\nHTTP %2, %3바이트, %4초, 무결성 확인: %5"},
    {608, "압축 파일을 지원 센터로 보내지 못했습니다.\n%1\n\n아래 파일을 직접 보내 주십시오.\n%2"},
    {609, "       checktool --upload URL [--upload-header \"Name: value\"]... [--upload-ca FILE]\n"},
    {610, "MD5 일치"},
    {611, "서버가 체크섬을 알려 주지 않음"},
    {612, "With --upload, \"로그 저장\" also sends the archive it wrote to URL, a pre-signed https\n"
          "address of the support desk's storage, with one PUT (header lines and a PEM authority\n"
          "as checktool-cli takes them); the archive stays and is shown as ever.\n"},
};

}  // namespace

std::string load_string(int id) {
    for (const Entry& e : kStrings)
        if (e.id == id) return e.text;
    return {};
}
