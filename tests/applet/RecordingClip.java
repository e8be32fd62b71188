import java.applet.AudioClip;
import java.net.URL;

/** A soundtrack that records what it was told instead of playing. */
class RecordingClip implements AudioClip {
    final URL url;
    private int loops;
    private int stops;
    private boolean playing;

    RecordingClip(URL url) {
        this.url = url;
    }

    public synchronized void play() {
        playing = true;
    }

    public synchronized void loop() {
        loops++;
        playing = true;
    }

    public synchronized void stop() {
        stops++;
        playing = false;
    }

    synchronized int loops() {
        return loops;
    }

    synchronized int stops() {
        return stops;
    }

    synchronized boolean playing() {
        return playing;
    }
}
