#!/usr/bin/env bash
# An ssh server on 127.0.0.1 for the tests, with keys of its own, all under DIR.
#   ssh.sh inicia DIR PORT   starts it; prints the ssh command that reaches it
#   ssh.sh para DIR          stops it by its process id
set -euo pipefail
acao=$1
dir=$(realpath -m "$2")
if [ "$acao" = para ]; then
  [ -f "$dir/sshd.pid" ] && kill "$(cat "$dir/sshd.pid")" 2>/dev/null || true
  rm -f "$dir/sshd.pid"
  exit 0
fi
porta=$3
mkdir -p "$dir" /run/sshd
ssh-keygen -q -t ed25519 -N '' -f "$dir/host_key" <<<y >/dev/null
ssh-keygen -q -t ed25519 -N '' -f "$dir/client_key" <<<y >/dev/null
cp "$dir/client_key.pub" "$dir/authorized_keys"
chmod 600 "$dir/authorized_keys"
cat > "$dir/sshd_config" <<CONF
Port $porta
ListenAddress 127.0.0.1
HostKey $dir/host_key
AuthorizedKeysFile $dir/authorized_keys
PidFile $dir/sshd.pid
PermitRootLogin prohibit-password
PasswordAuthentication no
KbdInteractiveAuthentication no
UsePAM no
StrictModes no
CONF
/usr/sbin/sshd -f "$dir/sshd_config" -E "$dir/sshd.log"
comando="ssh -p $porta -i $dir/client_key -o StrictHostKeyChecking=no -o UserKnownHostsFile=/dev/null -o LogLevel=ERROR -o BatchMode=yes"
for _ in $(seq 1 40); do
  if $comando "$(id -un)@127.0.0.1" true 2>/dev/null; then echo "$comando $(id -un)@127.0.0.1"; exit 0; fi
  sleep 0.25
done
echo "o servidor ssh não respondeu; veja $dir/sshd.log" >&2
exit 1
