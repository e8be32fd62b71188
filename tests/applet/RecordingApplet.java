import java.util.ArrayList;
import java.util.List;

/** The applet, recording every frame it shows: index, time and picture position. */
class RecordingApplet extends quilanim {
    private static final long serialVersionUID = 1L;

    static final class Shown {
        final int index;
        final long nanos;
        final long x;
        final long y;

        Shown(int index, long nanos, long x, long y) {
            this.index = index;
            this.nanos = nanos;
            this.x = x;
            this.y = y;
        }
    }

    private final List<Shown> shown = new ArrayList<Shown>();

    void frameShown(int index) {
        // Runs on the animation thread, which is also the only one that moves the picture.
        Shown entry = new Shown(index, System.nanoTime(), pictureX(), pictureY());
        synchronized (shown) {
            shown.add(entry);
            shown.notifyAll();
        }
    }

    List<Shown> shown() {
        synchronized (shown) {
            return new ArrayList<Shown>(shown);
        }
    }

    int shownCount() {
        synchronized (shown) {
            return shown.size();
        }
    }

    /** Waits until at least count frames have been shown; false on time-out. */
    boolean awaitShown(int count, long timeoutMillis) throws InterruptedException {
        long end = System.currentTimeMillis() + timeoutMillis;
        synchronized (shown) {
            while (shown.size() < count) {
                long left = end - System.currentTimeMillis();
                if (left <= 0)
                    return false;
                shown.wait(left);
            }
        }
        return true;
    }
}
