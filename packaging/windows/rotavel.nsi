; SPDX-License-Identifier: GPL-3.0-or-later
; The Windows setup and its uninstaller, made by makensis from the build
; (packaging/windows/CMakeLists.txt), which defines:
;   VERSION     the release, as 1.1.1        FOUR_PARTS  the same in four parts
;   ARCH        x64 or x86                   FILES       the folder laid out by the install rules
;   ICON        the setup's icon             OUTFILE     the setup to write
;   PUBLISHER   who makes Rotavel            URL         where to read about it
;
; One Rotavel per machine: whichever architecture is installed last
; replaces what was there, in either registry view, and an older setup
; refuses to replace a newer Rotavel. A running Rotavel is closed, after
; asking, before its files are touched; where it cannot be, nothing is
; removed and the setup or uninstaller says so and ends with exit code 2.

Unicode true
; The target comes first: makensis fixes what $PROGRAMFILES64 means at its
; first use, for the target then in force.
!if ${ARCH} == x64
    Target amd64-unicode
    ; Here ${RunningX64} is known true when compiling, which leaves the
    ; label of its false branch unused; the x86 build still reports any
    ; other label that is.
    !pragma warning disable 6012
!else
    Target x86-unicode
!endif

!include FileFunc.nsh
!include LogicLib.nsh
!include MUI2.nsh
!include WinMessages.nsh
!include WordFunc.nsh
!include x64.nsh

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Rotavel"
; The class of the program's window (window/win32/form2_window.cpp): the
; stable sign that Rotavel is running, whichever copy it is.
!define WINDOW_CLASS "RotavelForm2"
; How long a closing or ending program is waited for, in tenths of a second.
!define PATIENCE 100
; What the close box sends with WM_SYSCOMMAND (WinUser.h).
!define SC_CLOSE 0xF060

Name "Rotavel"
Caption "Rotavel ${VERSION} Setup"
UninstallCaption "Rotavel ${VERSION} Uninstall"
BrandingText "Rotavel ${VERSION}"
OutFile "${OUTFILE}"
!if ${ARCH} == x64
    InstallDir "$PROGRAMFILES64\Rotavel"
!else
    InstallDir "$PROGRAMFILES\Rotavel"
!endif
RequestExecutionLevel admin
ManifestDPIAware true
ManifestSupportedOS all
SetCompressor /SOLID lzma
ShowInstDetails show
ShowUninstDetails show

VIProductVersion ${FOUR_PARTS}
VIFileVersion ${FOUR_PARTS}
VIAddVersionKey /LANG=1033 ProductName "Rotavel"
VIAddVersionKey /LANG=1033 ProductVersion "${VERSION}"
VIAddVersionKey /LANG=1033 FileVersion "${VERSION}"
VIAddVersionKey /LANG=1033 FileDescription "Rotavel ${VERSION} Setup (${ARCH})"
VIAddVersionKey /LANG=1033 CompanyName "${PUBLISHER}"
VIAddVersionKey /LANG=1033 LegalCopyright "GNU General Public License, version 3 or later"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_WELCOMEPAGE_TITLE "Rotavel ${VERSION}"
!define MUI_WELCOMEPAGE_TEXT "Setup installs Rotavel ${VERSION} for ${ARCH} Windows: the great-circle bearing and distance between two Maidenhead locators.$\r$\n$\r$\nA Rotavel installed before, of either architecture, is replaced. If it is running, Setup closes it first, after asking.$\r$\n$\r$\nClick Next to continue."
!define MUI_FINISHPAGE_RUN "$INSTDIR\rotavel.exe"
; Each page of the Modern UI appends a blank to the window's title; each
; puts the whole title back when it shows.
!macro PAGE NAME ARGUMENT
    !define MUI_PAGE_CUSTOMFUNCTION_SHOW WholeTitle
    !insertmacro MUI_PAGE_${NAME} ${ARGUMENT}
!macroend
!macro UNPAGE NAME
    !define MUI_PAGE_CUSTOMFUNCTION_SHOW un.WholeTitle
    !insertmacro MUI_UNPAGE_${NAME}
!macroend
!insertmacro PAGE WELCOME ""
!insertmacro PAGE LICENSE "${FILES}/LICENSE.txt"
!insertmacro PAGE DIRECTORY ""
!insertmacro PAGE INSTFILES ""
!insertmacro PAGE FINISH ""
!insertmacro UNPAGE CONFIRM
!insertmacro UNPAGE INSTFILES
!insertmacro MUI_LANGUAGE "English"

Function WholeTitle
    SendMessage $HWNDPARENT ${WM_SETTEXT} 0 "STR:Rotavel ${VERSION} Setup"
FunctionEnd

Function un.WholeTitle
    SendMessage $HWNDPARENT ${WM_SETTEXT} 0 "STR:Rotavel ${VERSION} Uninstall"
FunctionEnd

; The registry view this architecture's program is registered in.
!macro OWN_VIEW
    !if ${ARCH} == x64
        SetRegView 64
    !else
        SetRegView 32
    !endif
!macroend

; Closes every Rotavel window as its close box would, after asking, and
; waits for them to go; stops everything when the user says no or a window
; stays. Made twice, for the setup and for the uninstaller.
!macro CLOSE_RUNNING PREFIX
Function ${PREFIX}CloseRunning
    FindWindow $0 "${WINDOW_CLASS}"
    ${If} $0 == 0
        Return
    ${EndIf}
    MessageBox MB_OKCANCEL|MB_ICONINFORMATION \
        "Rotavel is running. Choose OK to close it and go on, or Cancel to stop here." \
        /SD IDOK IDOK close
    SetErrorLevel 2
    Abort "Rotavel stays open: nothing was changed."
close:
    DetailPrint "Closing Rotavel"
    StrCpy $1 0
    ${Do}
        FindWindow $0 "${WINDOW_CLASS}"
        ${If} $0 == 0
        ${OrIf} $1 >= ${PATIENCE}
            ${ExitDo}
        ${EndIf}
        ; What the close box sends; a program too busy to answer at once
        ; is asked again on the next round rather than waited on.
        SendMessage $0 ${WM_SYSCOMMAND} ${SC_CLOSE} 0 /TIMEOUT=100
        Sleep 100
        IntOp $1 $1 + 1
    ${Loop}
    ${If} $0 == 0
        Return
    ${EndIf}
    MessageBox MB_ICONSTOP "Rotavel did not close. Close it, then try again: nothing was changed." \
        /SD IDOK
    SetErrorLevel 2
    Abort "Rotavel did not close: nothing was changed."
FunctionEnd
!macroend
!insertmacro CLOSE_RUNNING ""
!insertmacro CLOSE_RUNNING "un."

; Deletes the program file, waiting for a program that was just closed to
; end; the error flag is set when the file stays.
!macro DELETE_PROGRAM FOLDER
    StrCpy $1 0
    ${Do}
        ClearErrors
        Delete "${FOLDER}\rotavel.exe"
        ${IfNot} ${Errors}
        ${OrIf} $1 >= ${PATIENCE}
            ${ExitDo}
        ${EndIf}
        Sleep 100
        IntOp $1 $1 + 1
    ${Loop}
!macroend

; The Rotavel registered in the current registry view: $R0 its version,
; $R1 its folder; both empty when there is none.
Function InstalledHere
    ReadRegStr $R0 HKLM "${UNINSTALL_KEY}" "DisplayVersion"
    ReadRegStr $R1 HKLM "${UNINSTALL_KEY}" "InstallLocation"
    ${If} $R1 == ""
        ; Releases before 1.2 named only their uninstaller.
        ReadRegStr $R1 HKLM "${UNINSTALL_KEY}" "UninstallString"
        ${WordReplace} $R1 '"' "" "+" $R1
        ${GetParent} $R1 $R1
    ${EndIf}
    ${If} $R1 == ""
        StrCpy $R0 ""
    ${EndIf}
FunctionEnd

; Refuses to replace a newer Rotavel, in either view.
Function RefuseOverNewer
    ${If} ${RunningX64}
        SetRegView 64
        Call InstalledHere
        Call RefuseIfNewer
    ${EndIf}
    SetRegView 32
    Call InstalledHere
    Call RefuseIfNewer
    !insertmacro OWN_VIEW
FunctionEnd

Function RefuseIfNewer
    ${If} $R0 == ""
        Return
    ${EndIf}
    ${VersionCompare} $R0 ${VERSION} $0
    ${If} $0 == 1
        MessageBox MB_ICONSTOP \
            "Rotavel $R0 is installed, which is newer than this setup's ${VERSION}. To install ${VERSION}, first uninstall Rotavel in Settings, Apps." \
            /SD IDOK
        SetErrorLevel 2
        Quit
    ${EndIf}
FunctionEnd

; Removes the Rotavel registered in the current view with its own
; uninstaller, run in place so that its end and exit code are waited for;
; stops the setup, with nothing of this version installed, where it fails.
Function RemoveInstalledHere
    Call InstalledHere
    ${If} $R0 == ""
        Return
    ${EndIf}
    ${IfNot} ${FileExists} "$R1\Uninstall.exe"
    ${AndIfNot} ${FileExists} "$R1\rotavel.exe"
        ; An entry whose files are gone (an uninstall of a release before
        ; 1.2, which shared one folder between both architectures, leaves
        ; the other's so): nothing to remove but the entry.
        DetailPrint "Removing the entry of Rotavel $R0, whose files are gone"
        DeleteRegKey HKLM "${UNINSTALL_KEY}"
        Return
    ${EndIf}
    DetailPrint "Removing Rotavel $R0 from $R1"
    ClearErrors
    ExecWait '"$R1\Uninstall.exe" /S _?=$R1' $0
    ${If} ${Errors}
        StrCpy $0 "not started"
    ${EndIf}
    ReadRegStr $R2 HKLM "${UNINSTALL_KEY}" "DisplayVersion"
    ${If} $0 != 0
    ${OrIf} $R2 != ""
        MessageBox MB_ICONSTOP "Rotavel $R0 in $R1 could not be removed, so Rotavel ${VERSION} was not installed." \
            /SD IDOK
        SetErrorLevel 2
        Abort "Rotavel $R0 could not be removed."
    ${EndIf}
    ; Run in place, the uninstaller cannot remove itself.
    Delete "$R1\Uninstall.exe"
    RMDir "$R1"
FunctionEnd

Function .onInit
    SetShellVarContext all
    !insertmacro OWN_VIEW
    Call RefuseOverNewer
FunctionEnd

Section
    Call CloseRunning
    ${If} ${RunningX64}
        SetRegView 64
        Call RemoveInstalledHere
    ${EndIf}
    SetRegView 32
    Call RemoveInstalledHere
    !insertmacro OWN_VIEW

    SetOutPath "$INSTDIR"
    File "${FILES}/rotavel.exe"
    File "${FILES}/README.txt"
    File "${FILES}/LICENSE.txt"
    WriteUninstaller "$INSTDIR\Uninstall.exe"
    CreateShortcut "$SMPROGRAMS\Rotavel.lnk" "$INSTDIR\rotavel.exe"

    ; The entry in Settings, Apps.
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "Rotavel (${ARCH})"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" '"$INSTDIR\rotavel.exe",0'
    WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
    WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
    WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "URLInfoAbout" "${URL}"
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
    ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Function un.onInit
    SetShellVarContext all
    !insertmacro OWN_VIEW
FunctionEnd

Section Uninstall
    Call un.CloseRunning
    ; The program file goes first: while it is in use nothing else is
    ; touched, and the installation stays whole.
    !insertmacro DELETE_PROGRAM "$INSTDIR"
    ${If} ${Errors}
        MessageBox MB_ICONSTOP "$INSTDIR\rotavel.exe is in use, so Rotavel was not uninstalled. Close it, then try again." \
            /SD IDOK
        SetErrorLevel 2
        Abort "Rotavel was not uninstalled: its program file is in use."
    ${EndIf}
    Delete "$INSTDIR\README.txt"
    Delete "$INSTDIR\LICENSE.txt"
    Delete "$SMPROGRAMS\Rotavel.lnk"
    Delete "$INSTDIR\Uninstall.exe"
    RMDir "$INSTDIR"
    ; The entry goes last, once nothing it stands for is left.
    DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
