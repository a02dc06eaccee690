<?php
// The state folder, the request record and the faults of the stand-in (see router.php).
//
// Faults, one per line of the state file "faults":
//   status <code>   answer with that status and a short text, or the literal reply when set
//   redirect <url>  answer 302 with that Location
//   empty           answer 200 with no body
//   truncate        declare the whole length, send half of the body, close
//   trickle <ms>    declare the whole length, send the body a byte at a time, <ms> apart
//   delay <ms>      wait before answering
//   busy <n>        the first n replies say "<key>BUSY"
//   bare-busy <n>   the first n replies are a lone "BUSY" line
//   nokey           the reply has no line with the key
//   preamble        lines before the key line
//   trailer         lines after the key line
//   crlf            reply lines end in CR LF
//   changes <n>     a download serves files/<path>.changed once it was served n times
final class Stub
{
    private string $state;

    public function __construct()
    {
        $state = getenv('KX9_WEBSTUB_STATE');
        $this->state = rtrim($state !== false && $state !== '' ? $state : sys_get_temp_dir() . '/kx9webstub', '/');
    }

    public function read(string $relative): ?string
    {
        $file = $this->state . '/' . $relative;
        return is_file($file) ? file_get_contents($file) : null;
    }

    public function write(string $relative, string $data, bool $append = false): void
    {
        $file = $this->state . '/' . $relative;
        if (!is_dir(dirname($file))) {
            mkdir(dirname($file), 0777, true);
        }
        file_put_contents($file, $data, $append ? FILE_APPEND : 0);
    }

    // Lines of a state table, split at ";"; blank lines are skipped.
    public function table(string $relative): array
    {
        $rows = [];
        foreach (preg_split('/\r?\n/', (string)$this->read($relative)) as $line) {
            if ($line !== '') {
                $rows[] = explode(';', $line);
            }
        }
        return $rows;
    }

    // The request path without its query, doubled slashes folded, no leading slash.
    public function requestPath(): string
    {
        $path = explode('?', $_SERVER['REQUEST_URI'], 2)[0];
        return ltrim(preg_replace('#/+#', '/', rawurldecode($path)), '/');
    }

    // Writes requests/NNNN.json and returns the form fields in the order they came.
    public function record(): array
    {
        $raw = file_get_contents('php://input');
        $fields = [];
        if (!empty($_POST)) {
            $fields = $_POST;
        } elseif (stripos($_SERVER['CONTENT_TYPE'] ?? '', 'application/x-www-form-urlencoded') !== false) {
            parse_str($raw, $fields);
        }
        $headers = [];
        foreach (getallheaders() as $name => $value) {
            $headers[] = [$name, $value];
        }
        $pairs = [];
        foreach ($fields as $name => $value) {
            $pairs[] = [(string)$name, base64_encode((string)$value)];
        }
        $files = [];
        foreach ($_FILES as $field => $file) {
            $data = is_uploaded_file($file['tmp_name']) ? file_get_contents($file['tmp_name']) : '';
            $files[$field] = [
                'name' => base64_encode($file['name']),
                'type' => $file['type'],
                'error' => $file['error'],
                'data' => base64_encode($data),
            ];
        }
        $record = [
            'method' => $_SERVER['REQUEST_METHOD'],
            'uri' => base64_encode($_SERVER['REQUEST_URI']),
            'headers' => $headers,
            'body' => base64_encode($raw),
            'fields' => $pairs,
            'files' => (object)$files,
        ];
        $dir = $this->state . '/requests';
        if (!is_dir($dir)) {
            mkdir($dir, 0777, true);
        }
        $number = count(glob($dir . '/*.json')) + 1;
        file_put_contents(sprintf('%s/%04d.json.tmp', $dir, $number),
            json_encode($record, JSON_INVALID_UTF8_SUBSTITUTE));
        rename(sprintf('%s/%04d.json.tmp', $dir, $number), sprintf('%s/%04d.json', $dir, $number));
        return $fields;
    }

    // Faults that name this path or its last part, as fault => argument.
    public function faults(string $path): array
    {
        $faults = [];
        foreach (preg_split('/\r?\n/', (string)$this->read('faults')) as $line) {
            $words = preg_split('/\s+/', trim($line), 3);
            if (count($words) >= 2 && ($words[0] === $path || $words[0] === basename($path))) {
                $faults[$words[1]] = $words[2] ?? '';
            }
        }
        return $faults;
    }

    // True for the first $limit calls with this counter name.
    public function countDown(string $name, int $limit): bool
    {
        $used = (int)$this->read('counters/' . $name);
        $this->write('counters/' . $name, (string)($used + 1));
        return $used < $limit;
    }

    // The body as the faults "truncate" and "trickle" shape it.
    public function send(string $body, array $faults): void
    {
        if (isset($faults['trickle'])) {
            header('Content-Length: ' . strlen($body));
            while (ob_get_level() > 0) {
                ob_end_flush();
            }
            foreach (str_split($body) as $byte) {
                echo $byte;
                flush();
                usleep(1000 * (int)$faults['trickle']);
            }
            return;
        }
        if (isset($faults['truncate'])) {
            header('Content-Length: ' . strlen($body));
            echo substr($body, 0, intdiv(strlen($body), 2));
            flush();
            exit;
        }
        echo $body;
    }

    // The busy reply that a busy fault asks for now, or null.
    public function busyReply(?string $key, string $path, array $faults): ?array
    {
        $counter = str_replace('/', '_', $path);
        if (isset($faults['bare-busy']) && $this->countDown($counter . '.bare-busy', (int)$faults['bare-busy'])) {
            return ['BUSY'];
        }
        if ($key !== null && isset($faults['busy']) && $this->countDown($counter . '.busy', (int)$faults['busy'])) {
            return [$key . 'BUSY'];
        }
        return null;
    }

    public function sendLines(array $lines, ?string $key, array $faults): void
    {
        if (isset($faults['nokey']) && $key !== null) {
            $lines = array_values(array_filter($lines, fn($line) => strpos($line, $key) === false));
            $lines[] = '<p>Servizio non disponibile</p>';
        }
        if (isset($faults['preamble'])) {
            array_unshift($lines, '<html><body>', '<p>Benvenuto</p>');
        }
        if (isset($faults['trailer'])) {
            array_push($lines, '<p>fine</p>', '</body></html>');
        }
        $end = isset($faults['crlf']) ? "\r\n" : "\n";
        $this->send(implode($end, $lines) . $end, $faults);
    }

    public function serveDownload(string $path, array $faults): void
    {
        $auth = $this->read('auth');
        if ($auth !== null) {
            $given = $_SERVER['HTTP_AUTHORIZATION'] ?? (getallheaders()['Authorization'] ?? '');
            if ($given !== 'Basic ' . base64_encode(trim($auth))) {
                http_response_code(401);
                header('WWW-Authenticate: Basic realm="kx9"');
                echo "Authorization required\n";
                return;
            }
        }
        $body = $this->read('files/' . $path);
        if (isset($faults['changes']) && !$this->countDown(str_replace('/', '_', $path) . '.changes', (int)$faults['changes'])) {
            $body = $this->read('files/' . $path . '.changed');
        }
        if ($body === null) {
            http_response_code(404);
            echo "Not found: $path\n";
            return;
        }
        header('Content-Type: application/octet-stream');
        $this->send($body, $faults);
    }
}
