; Per-user installer of the Windows agent: no administrator, the program's folder writable so that
; Acceso stays beside the program, a Start-menu entry, start at logon, and the print server's
; address asked once (or given as /SERVER=HOST[:PORT]) and kept for later installs.
Unicode true
; The 64-bit stub, as the agent is, so Wine without its 32-bit part runs it too.
Target amd64-unicode
!include "FileFunc.nsh"
!include "nsDialogs.nsh"
!include "LogicLib.nsh"

!ifndef AGENT_EXE
  !error "makensis -DAGENT_EXE=path/quillon-agent.exe -DOUTFILE=path/quillon-agent-setup.exe"
!endif

Name "Servidor de Impresoras"
OutFile "${OUTFILE}"
RequestExecutionLevel user
InstallDir "$LOCALAPPDATA\quillon-agent"
SetCompressor /SOLID lzma

!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
!define SETTINGS_KEY "Software\quillon-agent"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\quillon-agent"

Var server
Var server_field

Page custom ServerPage ServerPageLeave
Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

Function .onInit
  SetShellVarContext current
  ReadRegStr $server HKCU "${SETTINGS_KEY}" "Server"
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/SERVER=" $1
  ${IfNot} ${Errors}
    StrCpy $server $1
  ${EndIf}
FunctionEnd

; Asked only while no address is kept.
Function ServerPage
  ${If} $server != ""
    Abort
  ${EndIf}
  nsDialogs::Create 1018
  Pop $0
  ${NSD_CreateLabel} 0 0 100% 24u "Dirección del servidor de impresión (HOST o HOST:PUERTO):"
  Pop $0
  ${NSD_CreateText} 0 28u 100% 12u ""
  Pop $server_field
  nsDialogs::Show
FunctionEnd

Function ServerPageLeave
  ${NSD_GetText} $server_field $server
  ${If} $server == ""
    MessageBox MB_ICONEXCLAMATION "Escriba la dirección del servidor de impresión."
    Abort
  ${EndIf}
FunctionEnd

Section "Agente"
  SetShellVarContext current
  SetOutPath "$INSTDIR"
  File "/oname=quillon-agent.exe" "${AGENT_EXE}"
  WriteUninstaller "$INSTDIR\desinstalar.exe"

  ${If} $server != ""
    WriteRegStr HKCU "${SETTINGS_KEY}" "Server" "$server"
    StrCpy $1 '--server "$server"'
  ${Else}
    StrCpy $1 ""
  ${EndIf}
  CreateDirectory "$SMPROGRAMS\Servidor de Impresoras"
  CreateShortcut "$SMPROGRAMS\Servidor de Impresoras\Servidor de Impresoras.lnk" \
    "$INSTDIR\quillon-agent.exe" "$1"
  CreateShortcut "$SMPROGRAMS\Servidor de Impresoras\Desinstalar.lnk" "$INSTDIR\desinstalar.exe"
  WriteRegStr HKCU "${RUN_KEY}" "quillon-agent" '"$INSTDIR\quillon-agent.exe" $1'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "Servidor de Impresoras"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\desinstalar.exe"'
SectionEnd

; Acceso, logo.bmp and agent.conf stay: a new install finds the branch code, the logo and the
; settings again. The kept server address stays too.
Section "Uninstall"
  SetShellVarContext current
  Delete "$INSTDIR\quillon-agent.exe"
  Delete "$INSTDIR\desinstalar.exe"
  Delete "$SMPROGRAMS\Servidor de Impresoras\Servidor de Impresoras.lnk"
  Delete "$SMPROGRAMS\Servidor de Impresoras\Desinstalar.lnk"
  RMDir "$SMPROGRAMS\Servidor de Impresoras"
  RMDir "$INSTDIR"
  DeleteRegValue HKCU "${RUN_KEY}" "quillon-agent"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd
