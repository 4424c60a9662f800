"""Under Wine: what the settings store saves reads back with reg.exe with the right types and
bytes, and values planted with reg.exe (wrong types included) read as the settings rules say."""

from wine_helpers import (check, expect, finish, probe, reg_add, reg_add_key, reg_delete_tree, reg_query,
                          reg_subkeys)

HKCU = r"HKCU\Software\Veltrano"
HKLM = r"HKLM\Software\Veltrano"
OPTIONS = HKCU + r"\Options"
RUN = r"HKCU\SOFTWARE\Microsoft\Windows\CurrentVersion\Run"


def clean():
    reg_delete_tree(HKCU)
    reg_delete_tree(HKLM)
    reg_delete_tree(RUN + r"\Veltrano")
    from wine_helpers import wine
    wine("reg", "delete", RUN, "/v", "Veltrano", "/f", check=False)


def saved_values_have_the_right_types_and_bytes():
    clean()
    probe("save-sample")
    expect(reg_query(OPTIONS, "WeekStartDay"), ("REG_DWORD", "0x1"), "WeekStartDay saved as a DWORD")
    expect(reg_query(OPTIONS, "GraphBkgColor"), ("REG_DWORD", "0x112233"), "GraphBkgColor saved as COLORREF")
    font = reg_query(OPTIONS, "RateFontU")
    check(font is not None and font[0] == "REG_BINARY" and len(font[1]) == 184, "RateFontU is 92 binary bytes")
    # lfHeight -11, then "Courier New" as UTF-16 from byte 28
    check(font[1].startswith("F5FFFFFF") and font[1][56:70] == "43006F00750072", "RateFontU holds LOGFONTW fields")
    rule = reg_query(OPTIONS, "NotificationEx2U")
    check(rule[0] == "REG_BINARY" and len(rule[1]) == 2 * 1992, "NotificationEx2U is 1992 binary bytes")
    check(rule[1].startswith("03000000") and rule[1][2 * 940:2 * 944] == "07000000", "rule version 3, 7 days")
    expect(reg_query(OPTIONS, "STAdpID"), ("REG_SZ", "{TRAY}"), "STAdpID saved as text")
    expect(reg_query(OPTIONS, "WndPosition"), ("REG_BINARY", "64000000C8000000080200007C010000"),
           "WndPosition saved as four LONGs")
    expect(reg_query(OPTIONS + r"\EmailSettings", "AuthPass"), ("REG_SZ", "s3cret"), "AuthPass stored as typed")
    expect(reg_query(HKCU + r"\Service", "ServiceOptions"), ("REG_BINARY", "010000000100000000000000"),
           "ServiceOptions marker and switches")
    reports = [reg_query(HKCU + r"\Service\Reports", f"Report{i}") for i in (1, 2, 3, 4)]
    check(all(r and r[0] == "REG_BINARY" and len(r[1]) == 2 * 796 for r in reports[:3]) and reports[3] is None,
          "exactly Report1..Report3, 796 bytes each")
    expect(sorted(reg_subkeys(HKCU + r"\AdaptersEx")), ["100-", "200-", "300-{SAMPLE-NIC}"], "adapter subkeys")
    expect(reg_query(HKCU + r"\AdaptersEx\300-{SAMPLE-NIC}", "AdapterName"), ("REG_SZ", "Sample NIC"),
           "adapter name")
    expect(reg_query(RUN, "Veltrano"), ("REG_SZ", r"C:\Veltrano\Pellacor.exe"), "Run value")
    # Mirrored to the machine because the service is enabled; desktop-only values are not.
    expect(reg_query(HKLM + r"\Options", "MonthStartDay"), ("REG_DWORD", "0xf"), "MonthStartDay mirrored")
    expect(reg_query(HKLM + r"\Options", "TrafficLogFile"), ("REG_SZ", r"C:\data\qxrsum_v2.log"), "log path mirrored")
    expect(reg_query(HKLM + r"\Options", "RateFontU"), None, "fonts are not mirrored")
    expect(reg_query(HKLM + r"\Options", "NextAlertMin"), None, "next-alert values are not mirrored")
    expect(reg_query(HKLM + r"\AdaptersEx\300-{SAMPLE-NIC}", "RecordFile"), ("REG_SZ", r"C:\rates\nic.csv"),
           "recording values mirrored")

    desktop = probe("dump-desktop")
    expect(desktop["MonthStartDay"], "15", "desktop reads back MonthStartDay")
    expect(desktop["RateFontU.face"], "Courier New", "desktop reads back the rate font")
    expect(desktop["Report3"], r"3,100,,180,0,C:\reports\r3.html", "desktop reads back the third report")
    service = probe("dump-service")
    expect(service["SumLastDays"], "45", "service reads SumLastDays from the machine")
    expect(service["Report1"], r"1,100,,60,60,C:\reports\r1.html", "service starts the countdown at the interval")
    expect(service["RateFontU.face"], "Tahoma", "service keeps desktop-only defaults")


def planted_values_follow_the_read_rules():
    clean()
    reg_add(OPTIONS, "WeekStartDay", "REG_DWORD", "7")
    reg_add(OPTIONS, "MonthStartDay", "REG_SZ", "15")
    reg_add(OPTIONS, "TransparentPercent", "REG_DWORD", "95")
    reg_add(OPTIONS, "RateViewMargins", "REG_DWORD", "0xffffffff")
    reg_add(OPTIONS, "DisplayText", "REG_DWORD", "0")
    reg_add(OPTIONS, "DisplayGraph", "REG_DWORD", "0")
    reg_add(OPTIONS, "DateFormat", "REG_BINARY", "05000000")
    reg_add(OPTIONS, "HotkeyChar", "REG_SZ", "C")
    reg_add(OPTIONS, "NextAlertMin", "REG_DWORD", "0")
    reg_add(OPTIONS, "NextAlertType", "REG_DWORD", "2")
    reg_add(OPTIONS, "STAdpID", "REG_SZ", "{abc-def}")
    reg_add(OPTIONS, "RateFontU", "REG_BINARY", "0C000000")
    reg_add(OPTIONS, "TitleFontU", "REG_BINARY", "41" * 92)
    reg_add(OPTIONS, "WndPosition", "REG_DWORD", "1")
    reg_add(OPTIONS, "NotificationEnabled", "REG_DWORD", "1")
    reg_add(OPTIONS, "NotificationEx2U", "REG_BINARY", "01000000" + "31" * 1988)
    reg_add(OPTIONS + r"\EmailSettings", "EmlTempSubject", "REG_SZ", "")
    reg_add(HKCU + r"\Service", "ServiceEnabled", "REG_SZ", "1")
    reg_add(HKCU + r"\Service\Reports", "Report1", "REG_BINARY", "0200000064000000")
    reg_add(HKCU + r"\Service\Reports", "Report2", "REG_BINARY", "00" * 797)
    reg_add(HKCU + r"\Service\Reports", "Report3", "REG_BINARY", "0100000064000000")
    reg_add(HKCU + r"\AdaptersEx\400-X", "AdapterID", "REG_SZ", "X")
    reg_add_key(HKCU + r"\AdaptersEx\300-NOID")
    reg_add(HKCU + r"\AdaptersEx\300-{lower}", "AdapterID", "REG_SZ", "{lower}")
    reg_add(HKCU + r"\AdaptersEx\300-{lower}", "Size", "REG_SZ", "big")
    reg_add(HKCU + r"\AdaptersEx\200-", "AdapterID", "REG_SZ", "")
    reg_add(HKCU + r"\AdaptersEx\200-", "AdapterName", "REG_SZ", "Modem")

    d = probe("dump-desktop")
    expect(d["WeekStartDay"], "0", "WeekStartDay 7 reads as 0")
    expect(d["MonthStartDay"], "1", "MonthStartDay stored as text reads as the default")
    expect(d["TransparentPercent"], "90", "TransparentPercent 95 reads as 90")
    expect(d["RateViewMargins"], "2", "RateViewMargins -1 reads as 2")
    expect((d["DisplayText"], d["DisplayGraph"]), ("1", "1"), "text and graph both off read as both on")
    expect(d["DateFormat"], "17", "DateFormat stored as binary reads as the default")
    expect(d["HotkeyChar"], "66", "HotkeyChar stored as text reads as the default")
    expect((d["NextAlertMin"], d["NextAlertType"]), ("1", "0"), "next-alert rules")
    expect(d["STAdpID"], "{ABC-DEF}", "tray adapter id upper-cased")
    expect((d["RateFontU.face"], d["RateFontU.height"]), ("Tahoma", "13"), "a 4-byte font reads as the default")
    expect((d["TitleFontU.face"], d["TitleFontU.weight"]), ("\u4141" * 31, "1094795585"),
           "an unterminated face name is cut inside its field")
    expect(d["WndPosition"], "0,0,0,0", "WndPosition of the wrong type reads as absent")
    expect((d["NotificationEnabled"], d["Rule.amount"], d["Rule.days"]), ("0", "", "1"),
           "a version-1 rule is rejected and switches notification off")
    expect(d["EmlTempSubject"], "Bandwidth Usage Notification", "empty subject replaced by the default")
    expect(d["ServiceEnabled"], "0", "ServiceEnabled stored as text reads as off")
    expect(d["Reports"], "1", "the report list ends at the first over-long entry")
    expect(d["Report1"], "2,100,,0,0,", "a short report entry reads zero-padded")
    adapters = d["Adapter"] if isinstance(d["Adapter"], list) else [d["Adapter"]]
    expect(adapters, ["200||Modem|0|0|1|", "300|{LOWER}||0|0|1|"],
           "unknown kinds and id-less subkeys skipped, ids upper-cased")


saved_values_have_the_right_types_and_bytes()
planted_values_follow_the_read_rules()
clean()
finish()
